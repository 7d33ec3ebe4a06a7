#include "crawl/url_resolver.h"

#include <QStringList>

#include "crawl/url_text.h"

namespace lexicrawl {

namespace {

// source up to and including its last "/"; empty when it has none.
QString DirectoryOf(const QString& source)
{
    return source.left(source.lastIndexOf(u'/') + 1);
}

// Rules for a plain relative link on a page of an http or https source;
// schemeLength is 7 or 8. A source that is only scheme and host, with or
// without a final "/", counts as the root directory.
QString ResolveRelative(const QString& link, const QString& source, qsizetype schemeLength)
{
    const QStringView afterScheme = QStringView(source).mid(schemeLength);
    const QStringView withoutLast = afterScheme.left(qMax<qsizetype>(0, afterScheme.size() - 1));
    if (withoutLast.contains(u'/'))
        return DirectoryOf(source) + link;
    return SiteRoot(source) + QLatin1Char('/') + link;
}

// A reference that begins with a scheme ("mailto:", "https:") is absolute.
bool HasScheme(const QString& reference)
{
    for (qsizetype i = 0; i < reference.size(); ++i) {
        const QChar c = reference.at(i);
        if (c == u':')
            return i > 0;
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool allowed = letter || (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
        if (!allowed)
            return false;
    }
    return false;
}

// The end of a URL's path: its first "?" or "#", or its end.
qsizetype PathEnd(const QString& url, qsizetype from)
{
    qsizetype end = url.size();
    for (const char16_t c : {u'?', u'#'}) {
        const qsizetype at = url.indexOf(QChar(c), from);
        if (at >= 0 && at < end)
            end = at;
    }
    return end;
}

// RFC 3986, 5.2.4: removes "." and ".." segments of an absolute path.
QString RemoveDotSegments(const QString& path)
{
    QStringList kept;
    const QStringList segments = path.split(u'/');
    for (qsizetype i = 1; i < segments.size(); ++i) {
        const QString& segment = segments.at(i);
        const bool last = i == segments.size() - 1;
        if (segment == QLatin1String(".") || segment == QLatin1String("..")) {
            if (segment == QLatin1String("..") && !kept.isEmpty())
                kept.removeLast();
            if (last)
                kept << QString();  // "a/." and "a/.." name a directory
            continue;
        }
        kept << segment;
    }
    return QLatin1Char('/') + kept.join(u'/');
}

}  // namespace

QString ApplyProtocolRelative(const QString& link, const QString& source)
{
    if (!link.startsWith(QLatin1String("//")) || link.size() <= 2)
        return link;
    const QLatin1String scheme = source.startsWith(QLatin1String("https:")) ? QLatin1String("https://")
                                                                          : QLatin1String("http://");
    return scheme + link.mid(2);
}

QString ResolveParentPath(const QString& link, const QString& base)
{
    QString r = link;
    QString b = base;
    const QString root = SiteRoot(base);
    while (r.startsWith(QLatin1String(".."))) {
        b.truncate(qMax<qsizetype>(0, b.lastIndexOf(u'/')));
        b.truncate(b.lastIndexOf(u'/') + 1);
        if (root.size() > b.size())
            b = root + QLatin1Char('/');
        r.remove(0, 2);
        if (r.startsWith(u'/'))
            r.remove(0, 1);
    }
    return r.isEmpty() ? b : b + r;
}

QString ResolveAgainstSource(const QString& link, const QString& source)
{
    if (link.startsWith(u'/'))
        return SiteRoot(source) + link;
    if (link == QLatin1String("."))
        return DirectoryOf(source);
    if (link == QLatin1String(".."))
        return ResolveParentPath(link, source);
    if (link.startsWith(QLatin1String("../../")))
        return ResolveParentPath(ResolveParentPath(link, source), QString());
    if (link.startsWith(QLatin1String("../")))
        return ResolveParentPath(link, source);
    if (link.startsWith(QLatin1String("./")))
        return DirectoryOf(source) + link.mid(2);
    if (link.startsWith(QLatin1String("http://")) || link.startsWith(QLatin1String("https://")))
        return link;
    if (source.startsWith(QLatin1String("http://")))
        return ResolveRelative(link, source, 7);
    if (source.startsWith(QLatin1String("https://")))
        return ResolveRelative(link, source, 8);
    return link;
}

QString ResolveReference(const QString& base, const QString& reference)
{
    const qsizetype sep = base.indexOf(QLatin1String("://"));
    if (HasScheme(reference) || sep < 0)
        return reference;
    if (reference.startsWith(QLatin1String("//")))
        return base.left(sep + 1) + reference;
    const qsizetype pathStart = sep + 3 + AuthorityOf(base).size();
    const qsizetype pathEnd = PathEnd(base, pathStart);
    const QString origin = base.left(pathStart);
    const QString path = base.mid(pathStart, pathEnd - pathStart);
    if (reference.isEmpty())
        return base.left(base.indexOf(u'#') < 0 ? base.size() : base.indexOf(u'#'));
    if (reference.startsWith(u'#')) {
        const qsizetype hash = base.indexOf(u'#');
        return (hash < 0 ? base : base.left(hash)) + reference;
    }
    if (reference.startsWith(u'?'))
        return origin + path + reference;
    const qsizetype referencePathEnd = PathEnd(reference, 0);
    QString merged;
    if (reference.startsWith(u'/'))
        merged = reference.left(referencePathEnd);
    else if (path.isEmpty())
        merged = QLatin1Char('/') + reference.left(referencePathEnd);
    else
        merged = path.left(path.lastIndexOf(u'/') + 1) + reference.left(referencePathEnd);
    return origin + RemoveDotSegments(merged) + reference.mid(referencePathEnd);
}

}  // namespace lexicrawl
