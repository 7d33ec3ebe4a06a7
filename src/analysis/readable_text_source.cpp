#include "analysis/readable_text_source.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <limits>

#include "platform/text.h"

namespace lexicrawl::readable_text {

namespace {

const QString kHtmlEnd = QStringLiteral("</html>");

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

// The first place at or after from where needle (lower case ASCII) stands,
// ignoring the case of A to Z; npos when nowhere.
std::size_t FindAsciiCase(const QByteArray& haystack, const QByteArray& needle, std::size_t from)
{
    const std::size_t size = std::size_t(haystack.size());
    const std::size_t length = std::size_t(needle.size());
    for (std::size_t at = from; at + length <= size; ++at) {
        const void* found = std::memchr(haystack.constData() + at, needle[0], size - at);
        if (!found)
            break;
        at = std::size_t(static_cast<const char*>(found) - haystack.constData());
        std::size_t k = 1;
        while (k < length && at + k < size && LowerAscii(haystack[qsizetype(at + k)]) == needle[qsizetype(k)])
            ++k;
        if (k == length)
            return at;
    }
    return std::string::npos;
}

bool MatchesAt(const QByteArray& text, const QByteArray& needle, std::size_t at)
{
    if (at + std::size_t(needle.size()) > std::size_t(text.size()))
        return false;
    for (qsizetype k = 0; k < needle.size(); ++k)
        if (LowerAscii(text[qsizetype(at) + k]) != needle[k])
            return false;
    return true;
}

// A run of compatibility tags right after "<pre ...>", "<listing ...>" or
// "<textarea ...>" and right before CR or LF.
bool SitsBetweenPreAndLineBreak(const QByteArray& utf8, const QByteArray& tag, std::size_t at)
{
    const std::size_t length = std::size_t(tag.size());
    std::size_t before = at;
    while (before >= length && MatchesAt(utf8, tag, before - length))
        before -= length;
    std::size_t after = at + length;
    while (MatchesAt(utf8, tag, after))
        after += length;
    if (after >= std::size_t(utf8.size()) || (utf8[qsizetype(after)] != '\n' && utf8[qsizetype(after)] != '\r'))
        return false;
    if (before == 0 || utf8[qsizetype(before - 1)] != '>')
        return false;
    const qsizetype open = utf8.lastIndexOf('<', qsizetype(before - 1));
    if (open < 0)
        return false;
    QByteArray name;
    for (qsizetype i = open + 1; i < utf8.size() && std::isalpha(uchar(utf8[i])); ++i)
        name += LowerAscii(utf8[i]);
    return name == "pre" || name == "listing" || name == "textarea";
}

}  // namespace

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

std::size_t CompatibilityTagLength()
{
    return std::size_t(CompatibilityTag().size());
}

bool CompatibilityTagRemovalMayChangeParse(const QByteArray& utf8, std::size_t cutOffset,
                                           const std::function<std::vector<std::size_t>()>& tagOffsets)
{
    const QByteArray tag = LowerAZ(CompatibilityTag()).toUtf8();
    const std::size_t length = std::size_t(tag.size());
    std::size_t at = FindAsciiCase(utf8, tag, 0);
    if (at == std::string::npos || at + length > cutOffset)
        return false;  // the usual case, decided in one pass
    const std::size_t foreign = std::min(FindAsciiCase(utf8, "<svg", 0), FindAsciiCase(utf8, "<math", 0));
    const std::vector<std::size_t> tags = tagOffsets();
    for (; at != std::string::npos && at + length <= cutOffset; at = FindAsciiCase(utf8, tag, at + length)) {
        if (foreign < at || SitsBetweenPreAndLineBreak(utf8, tag, at) ||
            !std::binary_search(tags.begin(), tags.end(), at))
            return true;
    }
    return false;
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
