#include "crawl/sitemap_reader.h"

#include <QXmlStreamReader>

#include <zlib.h>

namespace lexicrawl {

namespace {

bool IsGzip(const QByteArray& data)
{
    return data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
           static_cast<unsigned char>(data[1]) == 0x8b;
}

bool LooksLikeXml(const QByteArray& data)
{
    for (const char c : data) {
        if (c == '<')
            return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\xef' && c != '\xbb' && c != '\xbf')
            return false;
    }
    return false;
}

bool AddUrl(QStringList& list, const QString& url, SitemapContent& content)
{
    if (content.pages.size() + content.sitemaps.size() >= kMaxSitemapUrls) {
        content.warning = QStringLiteral("more than %1 URLs; the rest was left out").arg(kMaxSitemapUrls);
        return false;
    }
    list.append(url);
    return true;
}

void ReadText(const QByteArray& data, SitemapContent& content)
{
    for (const QByteArray& line : data.split('\n')) {
        const QString url = QString::fromUtf8(line.trimmed());
        if (url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
            url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
            if (!AddUrl(content.pages, url, content))
                return;
    }
}

void ReadXml(const QByteArray& data, SitemapContent& content)
{
    QXmlStreamReader xml(data);
    bool index = false;
    QString parent;  // "url" or "sitemap" while inside one
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = xml.name();
            if (name == u"sitemapindex")
                index = true;
            else if (name == u"url" || name == u"sitemap")
                parent = name.toString();
            else if (name == u"loc" && !parent.isEmpty()) {
                const QString url = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                if (url.isEmpty())
                    break;
                QStringList& list = (parent == u"sitemap" || index) ? content.sitemaps : content.pages;
                if (!AddUrl(list, url, content))
                    return;
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (xml.name() == u"url" || xml.name() == u"sitemap")
                parent.clear();
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        content.warning = QStringLiteral("not a valid sitemap (line %1: %2)")
                              .arg(QString::number(xml.lineNumber()), xml.errorString());
}

}  // namespace

bool InflateGzip(const QByteArray& data, qsizetype limit, QByteArray* out)
{
    out->clear();
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    char buffer[64 * 1024];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        const qsizetype produced = qsizetype(sizeof buffer - z.avail_out);
        if (out->size() + produced > limit) {
            out->append(buffer, limit - out->size());
            rc = Z_BUF_ERROR;
            break;
        }
        out->append(buffer, produced);
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            break;  // truncated input
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

SitemapContent ReadSitemap(const QByteArray& body)
{
    SitemapContent content;
    QByteArray data = body;
    QString cut;
    if (IsGzip(body)) {
        if (!InflateGzip(body, kMaxSitemapBytes, &data))
            cut = data.size() >= kMaxSitemapBytes
                      ? QStringLiteral("larger than %1 bytes uncompressed; the rest was left out").arg(kMaxSitemapBytes)
                      : QStringLiteral("damaged gzip data; only what came before was read");
    } else if (data.size() > kMaxSitemapBytes) {
        data.truncate(kMaxSitemapBytes);
        cut = QStringLiteral("larger than %1 bytes; the rest was left out").arg(kMaxSitemapBytes);
    }
    if (LooksLikeXml(data)) {
        ReadXml(data, content);
    } else {
        if (!cut.isEmpty())
            data.truncate(data.lastIndexOf('\n') + 1);  // the last line may be half a URL
        ReadText(data, content);
    }
    if (!cut.isEmpty())
        content.warning = cut;  // the cut explains any XML error that follows from it
    return content;
}

}  // namespace lexicrawl
