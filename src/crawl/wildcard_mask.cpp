#include "crawl/wildcard_mask.h"

namespace lexicrawl {

namespace {

constexpr int kMaxStars = 30;

char16_t UpperAZ(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

QString MaskErrorText(const QString& mask, qsizetype position)
{
    return QStringLiteral("'%1' is an invalid mask at (%2)").arg(mask).arg(position);
}

}  // namespace

MaskError::MaskError(const QString& mask, qsizetype position)
    : std::runtime_error(MaskErrorText(mask, position).toStdString()), text_(MaskErrorText(mask, position))
{
}

// Positions in errors count from 1; the end of the mask is its length + 1.
// A run of "*" counts once, when the element after it (or the end) is read.
WildcardMask::WildcardMask(const QString& mask)
{
    int stars = 0;
    bool pendingStar = false;
    qsizetype p = 0;
    const qsizetype n = mask.size();
    auto flushStar = [&](qsizetype position) {
        if (!pendingStar)
            return;
        if (++stars > kMaxStars)
            throw MaskError(mask, position + 1);
        Element star;
        star.kind = Kind::Star;
        elements_.push_back(std::move(star));
        pendingStar = false;
    };
    for (; p < n; ++p) {
        const char16_t c = mask.at(p).unicode();
        if (c == u'*') {
            pendingStar = true;
            continue;
        }
        Element e;
        if (c == u'?')
            e.kind = Kind::Any;
        else if (c == u'[')
            ScanSet(mask, p, e);
        else
            e.literal = UpperAZ(c);
        flushStar(p);
        elements_.push_back(std::move(e));
    }
    flushStar(n);
}

// On entry p is at "["; on return at the closing "]".
void WildcardMask::ScanSet(const QString& mask, qsizetype& p, Element& e) const
{
    const qsizetype n = mask.size();
    e.kind = Kind::Set;
    ++p;
    if (p < n && mask.at(p) == u'!') {
        e.negate = true;
        ++p;
    }
    char16_t last = 0;
    bool haveLast = false;
    for (; p < n && mask.at(p) != u']'; ++p) {
        const char16_t c = mask.at(p).unicode();
        if (c != u'-') {
            last = UpperAZ(c);
            haveLast = true;
            e.ranges.emplace_back(last, last);
            continue;
        }
        if (!haveLast || p + 1 >= n)
            throw MaskError(mask, haveLast ? n + 1 : p + 1);
        ++p;
        e.ranges.emplace_back(last, UpperAZ(mask.at(p).unicode()));
    }
    if (p >= n)
        throw MaskError(mask, n + 1);
    bool empty = true;
    for (const auto& [lo, hi] : e.ranges)
        empty = empty && lo > hi;
    if (empty)
        throw MaskError(mask, p + 1);
}

bool WildcardMask::ElementMatches(const Element& e, char16_t c) const
{
    switch (e.kind) {
    case Kind::Star:
        return false;  // handled by Matches
    case Kind::Any:
        return true;
    case Kind::Literal:
        return UpperAZ(c) == e.literal;
    case Kind::Set: {
        const char16_t u = UpperAZ(c);
        bool in = false;
        for (const auto& [lo, hi] : e.ranges)
            in = in || (u >= lo && u <= hi);
        return in != e.negate;
    }
    }
    return false;
}

// Every element other than a star takes exactly one character, so
// backtracking to the most recent star alone finds a match whenever one
// exists, in O(text * mask) at worst.
bool WildcardMask::Matches(const QString& text) const
{
    const qsizetype n = text.size();
    const qsizetype m = qsizetype(elements_.size());
    qsizetype t = 0, e = 0;
    qsizetype starElement = -1, starText = 0;
    while (t < n) {
        if (e < m && elements_[e].kind == Kind::Star) {
            starElement = e++;
            starText = t;
        } else if (e < m && ElementMatches(elements_[e], text.at(t).unicode())) {
            ++e;
            ++t;
        } else if (starElement >= 0) {
            e = starElement + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (e < m && elements_[e].kind == Kind::Star)
        ++e;
    return e == m;
}

}  // namespace lexicrawl
