#include "crawl/page_text.h"

namespace lexicrawl {

QString NormalisePageText(const QString& text)
{
    const QChar* p = text.constData();
    qsizetype n = text.indexOf(QChar(u'\0'));
    if (n < 0)
        n = text.size();
    QString out;
    out.reserve(n + n / 32 + 2);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        out.append(p + runStart, i - runStart);
        out.append(u"\r\n");
        if (c == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        runStart = i + 1;
    }
    if (runStart < n) {
        out.append(p + runStart, n - runStart);
        out.append(u"\r\n");
    }
    return out;
}

}  // namespace lexicrawl
