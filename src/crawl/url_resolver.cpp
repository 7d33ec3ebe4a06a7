#include "crawl/url_resolver.h"

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

}  // namespace lexicrawl
