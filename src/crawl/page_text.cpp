#include "crawl/page_text.h"

namespace lexicrawl {

// Works in the text's own buffer: a page may be tens of megabytes, and a
// second copy of it would double what the fetch costs.
QString NormalisePageText(QString text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    const qsizetype n = text.size();
    if (n == 0)
        return text;
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    qsizetype lone = 0;  // line breaks that are not already CR LF
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u'\r' && !(i + 1 < n && p[i + 1] == u'\n'))
            ++lone;
        else if (p[i] == u'\n' && !(i > 0 && p[i - 1] == u'\r'))
            ++lone;
    }
    const bool endsWithBreak = p[n - 1] == u'\r' || p[n - 1] == u'\n';
    const qsizetype size = n + lone + (endsWithBreak ? 0 : 2);
    if (size == n)
        return text;
    text.resize(size);
    char16_t* q = reinterpret_cast<char16_t*>(text.data());
    qsizetype out = size;
    if (!endsWithBreak) {
        q[--out] = u'\n';
        q[--out] = u'\r';
    }
    // From the back, so that every character moves only towards the end;
    // the character after i may already be overwritten, so it is carried.
    char16_t next = 0;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const char16_t c = q[i];
        const bool loneCr = c == u'\r' && next != u'\n';
        const bool loneLf = c == u'\n' && !(i > 0 && q[i - 1] == u'\r');
        if (loneCr || loneLf) {
            q[--out] = u'\n';
            q[--out] = u'\r';
        } else {
            q[--out] = c;
        }
        next = c;
    }
    return text;
}

}  // namespace lexicrawl
