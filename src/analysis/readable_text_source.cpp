#include "analysis/readable_text_source.h"

#include <cstring>
#include <limits>

#include "platform/text.h"

namespace lexicrawl::readable_text {

namespace {
const QString kHtmlEnd = QStringLiteral("</html>");
}

QString CompatibilityTag()
{
    return QStringLiteral("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/>");
}

QString CutAfterHtmlEnd(const QString& source)
{
    const qsizetype end = IndexOfAZ(source, kHtmlEnd);
    return end < 0 ? source : source.left(end + kHtmlEnd.size());
}

std::size_t HtmlEndOffset(const QByteArray& utf8)
{
    // "</html>" is ASCII, and no byte of a multi-byte UTF-8 sequence is, so a
    // byte search finds the same place as a search of the text.
    static constexpr char kEnd[] = "</html>";
    const char* data = utf8.constData();
    const std::size_t size = std::size_t(utf8.size());
    for (std::size_t at = 0; at + 7 <= size; ++at) {
        const void* found = std::memchr(data + at, '<', size - at);
        if (!found)
            break;
        at = std::size_t(static_cast<const char*>(found) - data);
        if (at + 7 > size)
            break;
        bool same = true;
        for (std::size_t k = 1; k < 7 && same; ++k) {
            const char c = data[at + k];
            same = ((c >= 'A' && c <= 'Z') ? char(c + 32) : c) == kEnd[k];
        }
        if (same)
            return at + 7;
    }
    return std::numeric_limits<std::size_t>::max();
}

QString WithoutCompatibilityTag(QString source)
{
    const QString tag = CompatibilityTag();
    for (qsizetype at = IndexOfAZ(source, tag); at >= 0; at = IndexOfAZ(source, tag, at))
        source.remove(at, tag.size());
    return source;
}

QString WithoutSoftHyphens(QString text)
{
    text.remove(QChar(0x00AD));
    return text;
}

}  // namespace lexicrawl::readable_text
