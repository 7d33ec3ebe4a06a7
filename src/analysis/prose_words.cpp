#include "analysis/prose_words.h"

namespace lexicrawl {

namespace {

bool IsBlank(QChar c)
{
    // Zero-width spaces and byte-order marks separate words without showing.
    return c.isSpace() || c.unicode() == 0x200B || c.unicode() == 0xFEFF;
}

bool IsCore(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

bool IsApostrophe(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\'' || u == 0x2019 || u == 0x02BC || u == 0x2018;
}

bool IsHyphen(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'-' || u == 0x2010 || u == 0x2011;
}

// Characters that make a token code, a path or an address wherever they
// stand in it, or that no word of prose holds inside.
bool IsCodeChar(QChar c)
{
    switch (c.unicode()) {
    case u'@': case u'#': case u'$': case u'%': case u'^': case u'&': case u'~': case u'\\':
    case u'|': case u'<': case u'>': case u'=': case u'+': case u'`': case u'_':
        return true;
    default:
        return false;
    }
}

// Inside a token only: dotted names, file names, "std::x", calls and indexes.
bool IsInnerCodeChar(QChar c)
{
    switch (c.unicode()) {
    case u'.': case u':': case u'(': case u')': case u'[': case u']': case u'{': case u'}':
        return true;
    default:
        return IsCodeChar(c);
    }
}

bool StartsWithAddress(QStringView token)
{
    return token.startsWith(u"www.", Qt::CaseInsensitive) || token.startsWith(u"mailto:", Qt::CaseInsensitive) ||
           token.contains(u"://");
}

// The token without the punctuation around it; empty when what stands
// around it marks code ("<b>", "$HOME", "C++", "__init__").
QStringView TrimToken(QStringView token)
{
    qsizetype begin = 0;
    qsizetype end = token.size();
    while (begin < end && !IsCore(token[begin])) {
        if (IsCodeChar(token[begin]) || token[begin] == u'/')
            return {};
        ++begin;
    }
    while (end > begin && !IsCore(token[end - 1])) {
        if (IsCodeChar(token[end - 1]))
            return {};
        --end;
    }
    return token.sliced(begin, end - begin);
}

// A full stop with no space after it, between a word of three letters or
// more and a capitalised word ("end.The"), ends a sentence rather than
// joining a dotted name ("os.path", "ASP.NET", "Ph.D").
bool EndsSentence(QStringView token, qsizetype dot)
{
    if (dot + 2 >= token.size() || !token[dot + 1].isUpper() || !token[dot + 2].isLower())
        return false;
    qsizetype letters = 0;
    for (qsizetype i = dot - 1; i >= 0 && token[i].isLetter(); --i)
        ++letters;
    return letters >= 3;
}

// Whether the trimmed token is something other than prose: a number or a
// word with digits, code, a path, an address or an identifier.
bool IsNotProse(QStringView token)
{
    if (StartsWithAddress(token))
        return true;
    int slashes = 0;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const QChar c = token[i];
        if (c == u'.' && EndsSentence(token, i))
            continue;
        if (c.isNumber() || IsInnerCodeChar(c))
            return true;
        if (c == u'/' && ++slashes > 1)
            return true;
        if (i > 0 && c.isUpper() && token[i - 1].isLower())
            return true;
    }
    return false;
}

// A piece between two breaks, without apostrophes and hyphens at its ends.
void EmitPiece(QStringView piece, const std::function<void(QStringView)>& onWord)
{
    qsizetype begin = 0;
    qsizetype end = piece.size();
    while (begin < end && !IsCore(piece[begin]))
        ++begin;
    while (end > begin && !IsCore(piece[end - 1]))
        --end;
    if (begin < end)
        onWord(piece.sliced(begin, end - begin));
}

// Breaks a prose token where punctuation without a space joins two words
// ("and/or", "end,start", "yes—no"); apostrophes and hyphens stay inside.
void CutToken(QStringView token, const std::function<void(QStringView)>& onWord)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const QChar c = token[i];
        if (IsCore(c) || IsApostrophe(c) || IsHyphen(c))
            continue;
        EmitPiece(token.sliced(start, i - start), onWord);
        start = i + 1;
    }
    EmitPiece(token.sliced(start), onWord);
}

}  // namespace

void CutProseWords(QStringView text, const std::function<void(QStringView)>& onWord)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && IsBlank(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < n && !IsBlank(text[i]))
            ++i;
        if (start == i)
            continue;
        const QStringView token = TrimToken(text.sliced(start, i - start));
        if (!token.isEmpty() && !IsNotProse(token))
            CutToken(token, onWord);
    }
}

}  // namespace lexicrawl
