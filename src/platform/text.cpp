#include "platform/text.h"

namespace lexicrawl {

QChar LowerAZ(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 32)) : c;
}

QString LowerAZ(const QString& s)
{
    QString out = s;
    QChar* p = out.data();  // detaches once
    for (qsizetype i = 0, n = out.size(); i < n; ++i) {
        const char16_t u = p[i].unicode();
        if (u >= u'A' && u <= u'Z')
            p[i] = QChar(char16_t(u + 32));
    }
    return out;
}

static inline char16_t foldAZ(char16_t u)
{
    return (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u;
}

bool SameTextAZ(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0, n = a.size(); i < n; ++i)
        if (foldAZ(pa[i].unicode()) != foldAZ(pb[i].unicode()))
            return false;
    return true;
}

bool StartsWithAZ(const QString& s, const QString& prefix)
{
    if (prefix.size() > s.size())
        return false;
    const QChar* ps = s.constData();
    const QChar* pp = prefix.constData();
    for (qsizetype i = 0, n = prefix.size(); i < n; ++i)
        if (foldAZ(ps[i].unicode()) != foldAZ(pp[i].unicode()))
            return false;
    return true;
}

qsizetype IndexOfAZ(const QString& haystack, const QString& needle, qsizetype from)
{
    const qsizetype n = haystack.size(), m = needle.size();
    if (from < 0)
        from = 0;
    if (m == 0)
        return from <= n ? from : -1;
    const QChar* h = haystack.constData();
    const QChar* nd = needle.constData();
    const char16_t first = foldAZ(nd[0].unicode());
    for (qsizetype i = from; i + m <= n; ++i) {
        if (foldAZ(h[i].unicode()) != first)
            continue;
        qsizetype j = 1;
        while (j < m && foldAZ(h[i + j].unicode()) == foldAZ(nd[j].unicode()))
            ++j;
        if (j == m)
            return i;
    }
    return -1;
}

QString TrimCtl(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return (b == 0 && e == s.size()) ? s : s.mid(b, e - b);
}

QString TrimLeftCtl(const QString& s)
{
    qsizetype b = 0;
    while (b < s.size() && s.at(b).unicode() <= 0x20)
        ++b;
    return b == 0 ? s : s.mid(b);
}

QString TrimRightCtl(const QString& s)
{
    qsizetype e = s.size();
    while (e > 0 && s.at(e - 1).unicode() <= 0x20)
        --e;
    return e == s.size() ? s : s.left(e);
}

QString JoinLines(const QStringList& lines)
{
    QString out;
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 2;
    out.reserve(total);
    for (const QString& l : lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    const QChar* p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i].unicode();
        if (u != u'\r' && u != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (u == u'\r' && i + 1 < n && p[i + 1].unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString WithTrailingSlash(const QString& path)
{
    return (path.isEmpty() || path.endsWith(QLatin1Char('/'))) ? path : path + QLatin1Char('/');
}

std::optional<int> WholeNumber(const QString& text)
{
    // toInt would forgive blanks at either end.
    if (text.isEmpty() || text.front().unicode() <= 0x20 || text.back().unicode() <= 0x20)
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace lexicrawl
