#include "crawl/url_text.h"

#include <QRegularExpression>

#include "platform/escaped_bytes.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

const QString kHttp = QStringLiteral("http://");
const QString kHttps = QStringLiteral("https://");

}  // namespace

QStringView AuthorityOf(const QString& url)
{
    const qsizetype sep = url.indexOf(QLatin1String("://"));
    if (sep < 0)
        return {};
    const qsizetype begin = sep + 3;
    qsizetype end = begin;
    const qsizetype n = url.size();
    while (end < n) {
        const char16_t c = url.at(end).unicode();
        if (c == u'/' || c == u'?' || c == u'#')
            break;
        ++end;
    }
    return QStringView(url).mid(begin, end - begin);
}

QString HostOf(const QString& url)
{
    QStringView authority = AuthorityOf(url);
    const qsizetype at = authority.lastIndexOf(u'@');
    if (at >= 0)
        authority = authority.mid(at + 1);
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        return (close < 0 ? authority.mid(1) : authority.mid(1, close - 1)).toString();
    }
    const qsizetype colon = authority.indexOf(u':');
    return (colon < 0 ? authority : authority.left(colon)).toString();
}

QString SiteRoot(const QString& url)
{
    if (url.startsWith(kHttp))
        return kHttp + AuthorityOf(url).toString();
    if (url.startsWith(kHttps))
        return kHttps + AuthorityOf(url).toString();
    return QString();
}

QString ScopeHost(const QString& url)
{
    if (url.startsWith(kHttp) || url.startsWith(kHttps))
        return HostOf(url);
    return QString();
}

bool IsWebAddress(const QString& url)
{
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

static bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool HasNonWebScheme(const QString& url)
{
    const qsizetype colon = url.indexOf(u':');
    if (colon <= 0 || !IsAsciiLetter(url[0]))
        return false;
    for (qsizetype i = 1; i < colon; ++i) {
        const QChar c = url[i];
        if (!IsAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    qsizetype end = colon + 1;
    while (end < url.size() && url[end] >= u'0' && url[end] <= u'9')
        ++end;
    if (end > colon + 1 && (end == url.size() || url[end] == u'/' || url[end] == u'?' || url[end] == u'#'))
        return false;  // a host and its port
    const QStringView scheme = QStringView(url).left(colon);
    return scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0 &&
           scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) != 0;
}

QString StripScheme(const QString& url)
{
    if (StartsWithAZ(url, kHttp))
        return url.mid(7);
    if (StartsWithAZ(url, kHttps))
        return url.mid(8);
    return url;
}

QString DomainOf(const QString& url)
{
    // Compiled once; matching a const expression is safe from any thread.
    static const QRegularExpression pattern(
        QStringLiteral("([a-z0-9][a-z0-9\\-]{1,63}\\.[a-z\\.]{2,6})$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString host = HostOf(url);
    if (host.isEmpty())
        return QString();
    const QRegularExpressionMatch m = pattern.match(host);
    return m.hasMatch() ? m.captured(1) : QString();
}

qsizetype UrlLength(const QString& url)
{
    if (url.startsWith(kHttp))
        return url.size() - 7;
    if (url.startsWith(kHttps))
        return url.size() - 8;
    return url.size();
}

QString LinkAddressText(const QString& link)
{
    static const char kHex[] = "0123456789ABCDEF";
    bool clean = true;
    for (const QChar c : link) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            clean = false;
            break;
        }
    }
    if (clean)
        return PercentEncodeEscapedBytes(link);
    QString out;
    out.reserve(link.size() + 8);
    for (const QChar c : link) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\r' || u == u'\n')
            continue;
        if (u < 0x20 || u == 0x7F) {
            out += QLatin1Char('%');
            out += QLatin1Char(kHex[u >> 4]);
            out += QLatin1Char(kHex[u & 15]);
        } else {
            out += c;
        }
    }
    return PercentEncodeEscapedBytes(out);
}

QString StripTags(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype open = text.indexOf(u'<', i);
        if (open < 0) {
            out += QStringView(text).mid(i);
            break;
        }
        out += QStringView(text).mid(i, open - i);
        const qsizetype close = text.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        i = close + 1;
    }
    return out;
}

QString FormEncode(const QString& value)
{
    static const QByteArray kept = QByteArrayLiteral("!$'()*-.@_");
    const QByteArray bytes = value.toUtf8();
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        const bool alnum = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
        if (alnum || kept.contains(c))
            out += QLatin1Char(c);
        else if (c == ' ')
            out += QLatin1Char('+');
        else
            out += QLatin1Char('%') + QString::number(u, 16).toUpper().rightJustified(2, u'0');
    }
    return out;
}

QString DocumentExtensionOf(const QString& url)
{
    qsizetype end = url.size();
    for (const QChar stop : {u'?', u'#'}) {
        const qsizetype at = url.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    const QStringView path = QStringView(url).left(end);
    for (const QString& extension : {QStringLiteral(".pdf"), QStringLiteral(".odt"), QStringLiteral(".docx")})
        if (path.endsWith(extension, Qt::CaseInsensitive))
            return extension;
    return {};
}

}  // namespace lexicrawl
