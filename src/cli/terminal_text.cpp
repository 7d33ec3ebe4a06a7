#include "cli/terminal_text.h"

namespace lexicrawl::cli {

namespace {

bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

QString TerminalSafe(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && !IsControl(text[first].unicode()))
        ++first;
    if (first == text.size())
        return text;
    QString out = text.left(first);
    out.reserve(text.size() + 8);
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!IsControl(c)) {
            out += text[i];
        } else if (c == u'\t') {
            out += QLatin1String("\\t");
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c == u'\r') {
            out += QLatin1String("\\r");
        } else {
            out += QLatin1String("\\x");
            out += QString::number(c, 16).toUpper().rightJustified(2, u'0');
        }
    }
    return out;
}

}  // namespace lexicrawl::cli
