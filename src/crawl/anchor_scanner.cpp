#include "crawl/anchor_scanner.h"

#include "platform/text.h"

namespace lexicrawl {

namespace {

// First occurrence at or after from of a needle written in lower case,
// ignoring the case of A to Z in the text (the text is not lower-cased as a
// whole: a page may be tens of megabytes).
qsizetype IndexOfLowerAZ(QStringView text, QStringView needle, qsizetype from)
{
    const qsizetype n = text.size();
    const qsizetype m = needle.size();
    const QChar first = needle.front();
    for (qsizetype at = text.indexOf(first, from); at >= 0 && at + m <= n; at = text.indexOf(first, at + 1)) {
        qsizetype k = 1;
        while (k < m && LowerAZ(text[at + k]) == needle[k])
            ++k;
        if (k == m)
            return at;
    }
    return -1;
}

// First occurrence of a fixed needle at or after a position, for positions
// that never decrease: the answer is remembered while it lies ahead, so a
// whole pass searches each stretch of text once.
class ForwardFinder {
public:
    ForwardFinder(QStringView text, QStringView needle) : text_(text), needle_(needle) {}

    qsizetype Find(qsizetype from)
    {
        if (at_ == -1 || (at_ >= from && searched_))
            return at_;
        at_ = IndexOfLowerAZ(text_, needle_, from);
        searched_ = true;
        return at_;
    }

private:
    QStringView text_;
    QStringView needle_;
    qsizetype at_ = 0;
    bool searched_ = false;
};

QString FollowKind(QStringView tag, QStringView lowerTag, QChar quote)
{
    const QString opening = QStringLiteral(" rel=") + quote;
    const qsizetype k = lowerTag.indexOf(opening);
    if (k < 0)
        return QStringLiteral("dofollow");
    const QStringView after = tag.mid(k + opening.size());
    const qsizetype q = after.indexOf(quote);
    if (q < 0)
        return QStringLiteral("dofollow");
    const QStringView value = after.left(q);
    if (value.contains(QLatin1String("nofollow"), Qt::CaseInsensitive))
        return QStringLiteral("NOFOLLOW");
    if (value.contains(QLatin1String("sponsored"), Qt::CaseInsensitive))
        return QStringLiteral("SPONSORED");
    if (value.contains(QLatin1String("ugc"), Qt::CaseInsensitive))
        return QStringLiteral("UGC");
    return QStringLiteral("dofollow");
}

struct TagSpan {
    qsizetype from;  // the "<" of the tag opening
    qsizetype gt;    // its first ">"
};

// Reports the links of one tag: for each quote character the follow kind,
// and for each href opening written with that quote, one link.
void ReportTag(const QString& html, TagSpan span, ForwardFinder& closing, const QString& sourcelink,
               const LinkSink& sink)
{
    const QStringView tag = QStringView(html).mid(span.from, span.gt - span.from + 1);
    const QString lowerTag = LowerAZ(tag.toString());
    static const QLatin1String openings[] = {QLatin1String(" href="), QLatin1String("\thref=")};
    for (const QChar quote : {QChar(u'"'), QChar(u'\'')}) {
        const QString rel = FollowKind(tag, lowerTag, quote);
        for (const QLatin1String& attribute : openings) {
            const QString opening = attribute + quote;
            const qsizetype k = lowerTag.indexOf(opening);
            if (k < 0)
                continue;
            const qsizetype valueStart = k + opening.size();
            const qsizetype q = tag.indexOf(quote, valueStart);
            if (q < 0)
                continue;
            const qsizetype end = closing.Find(span.from);
            if (end < 0)
                continue;
            const QString href = tag.mid(valueStart, q - valueStart).toString();
            const QString raw = end > span.gt ? html.mid(span.gt + 1, end - span.gt - 1) : QString();
            const QString anchor = TrimCtl(DecodeHtmlReferences(raw));
            if (StartsWithAZ(href, QStringLiteral("mailto:")))
                sink(href, QString(), rel, anchor);
            else
                sink(href, sourcelink, rel, anchor);
        }
    }
}

void ScanPass(const QString& html, QStringView tagOpening, const QString& sourcelink, const LinkSink& sink,
              const std::atomic<bool>* stop)
{
    ForwardFinder opening(html, tagOpening);
    ForwardFinder greater(html, u">");
    ForwardFinder closing(html, u"</a>");
    qsizetype pos = 0;
    while (!(stop && stop->load(std::memory_order_relaxed))) {
        const qsizetype from = opening.Find(pos);
        if (from < 0)
            break;
        const qsizetype gt = greater.Find(from);
        if (gt < 0) {
            pos = from + 1;
            continue;
        }
        ReportTag(html, TagSpan{from, gt}, closing, sourcelink, sink);
        pos = gt + 1;
    }
}

// Parses the number of a numeric reference: decimal digits, or hexadecimal
// digits after x, X or $. Answers -1 when it does not convert.
qint64 ParseCharCode(QStringView number)
{
    int base = 10;
    if (!number.isEmpty() && (number[0] == u'x' || number[0] == u'X' || number[0] == u'$')) {
        base = 16;
        number = number.mid(1);
    }
    if (number.isEmpty())
        return -1;
    qint64 value = 0;
    for (const QChar ch : number) {
        const char16_t u = ch.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (base == 16 && u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (base == 16 && u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit < 0)
            return -1;
        value = value * base + digit;
        if (value > 0x10FFFF)
            return -1;
    }
    return value;
}

// Decodes the numeric reference whose "&" is at amp. Answers the index after
// it, or -1 (nothing appended) when it does not convert.
qsizetype DecodeNumeric(const QString& text, qsizetype amp, QString& out)
{
    const qsizetype n = text.size();
    qsizetype end = amp + 2;
    // A number holds only hex digits and its prefix, so the search for ";"
    // can stop at the first other character: such a reference cannot convert.
    while (end < n && text.at(end) != u';' && (text.at(end).isLetterOrNumber() || text.at(end) == u'$')
           && text.at(end).unicode() < 128)
        ++end;
    if (end < n && text.at(end) != u';')
        return -1;
    const qint64 code = ParseCharCode(QStringView(text).mid(amp + 2, end - amp - 2));
    if (code <= 0)  // U+0000 would cut the statements the anchor text goes into
        return -1;
    const char32_t c = char32_t(code);
    out += QString::fromUcs4(&c, 1);
    return end < n ? end + 1 : n;
}

}  // namespace

void ScanAnchors(const QString& html, const QString& sourcelink, const LinkSink& sink,
                 const std::atomic<bool>* stopRequested)
{
    ScanPass(html, u"<a ", sourcelink, sink, stopRequested);
    ScanPass(html, u"<a\r", sourcelink, sink, stopRequested);
}

QString DecodeHtmlReferences(const QString& text)
{
    static const struct {
        QLatin1String name;
        char16_t character;
    } named[] = {{QLatin1String("&amp;"), u'&'},
                 {QLatin1String("&lt;"), u'<'},
                 {QLatin1String("&gt;"), u'>'},
                 {QLatin1String("&quot;"), u'"'}};
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c != u'&') {
            out += c;
            ++i;
            continue;
        }
        const QStringView rest = QStringView(text).mid(i);
        qsizetype next = -1;
        for (const auto& ref : named) {
            if (rest.startsWith(ref.name)) {
                out += QChar(ref.character);
                next = i + ref.name.size();
                break;
            }
        }
        if (next < 0 && rest.startsWith(u"&#"))
            next = DecodeNumeric(text, i, out);
        if (next < 0) {
            out += c;
            next = i + 1;
        }
        i = next;
    }
    return out;
}

}  // namespace lexicrawl
