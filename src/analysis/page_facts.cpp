#include "analysis/page_facts.h"

#include "analysis/parsed_page.h"
#include "platform/escaped_bytes.h"
#include "platform/text.h"

namespace lexicrawl {

QString ExtractTitleText(const QString& source)
{
    const qsizetype tag = IndexOfAZ(source, QStringLiteral("<title"));
    if (tag < 0)
        return QString();
    const qsizetype textStart = source.indexOf(QLatin1Char('>'), tag);
    if (textStart < 0)
        return QString();
    const qsizetype end = IndexOfAZ(source, QStringLiteral("</title>"), textStart + 1);
    if (end < 0)
        return QString();
    return ReplaceEscapedBytes(source.mid(textStart + 1, end - textStart - 1));
}

QString ExtractDocumentTitle(const QString& source)
{
    return ParsedPage(source).DocumentTitle();
}

QString ExtractMetaDescription(const QString& source)
{
    return ParsedPage(source).MetaDescription();
}

QString ExtractHeadings(const QString& source, QStringView tag)
{
    return ParsedPage(source).Headings(tag);
}

QString FlattenLineBreaks(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return out;
}

}  // namespace lexicrawl
