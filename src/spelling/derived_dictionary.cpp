#include "spelling/derived_dictionary.h"

#include <QList>
#include <QSet>

#include "spelling/affix_file.h"
#include "spelling/dic_entries.h"

namespace lexicrawl {

namespace {

// Options that only narrow what the dictionary accepts, and tables that
// only feed the suggestion search or convert input and output.
// Need-affix, only-in-compound and circumfix stay: the library applies them
// to each homonym of a word on its own, so lower-cased homonyms do not
// change what the others allow; the forbidden mark applies to the first.
const QSet<QByteArray> kNarrowing = {
    "FORBIDDENWORD", "NOSUGGEST", "NONGRAMSUGGEST", "SUBSTANDARD", "KEEPCASE", "FORCEUCASE", "WARN", "FORBIDWARN",
    "CHECKSHARPS", "CHECKCOMPOUNDDUP", "CHECKCOMPOUNDREP", "CHECKCOMPOUNDCASE",
    "CHECKCOMPOUNDTRIPLE", "CHECKCOMPOUNDPATTERN", "COMPOUNDSYLLABLE", "SYLLABLENUM",
    "COMPOUNDROOT", "COMPOUNDFORBIDFLAG", "COMPOUNDWORDMAX", "LEMMA_PRESENT",
};
// The exact-forms variant keeps what the suggestion search's test keeps;
// it does not reject warned words either.
const QSet<QByteArray> kWarnings = {"WARN", "FORBIDWARN"};
const QSet<QByteArray> kSuggestionAndConversion = {
    "TRY", "KEY", "REP", "MAP", "PHONE", "ICONV", "OCONV", "BREAK", "MAXNGRAMSUGS", "NOSPLITSUGS",
    "SUGSWITHDOTS", "MAXDIFF", "ONLYMAXDIFF", "MAXCPDSUGS",
};
const QSet<QByteArray> kCompounding = {
    "COMPOUNDFLAG", "COMPOUNDBEGIN", "COMPOUNDMIDDLE", "COMPOUNDEND", "COMPOUNDLAST", "COMPOUNDRULE",
};

// A-Z lower-cased byte by byte; in UTF-8 every letter, character by
// character (simple case mapping: a sharp s stays one character).
QByteArray Lowered(const QByteArray& s, bool utf8)
{
    if (utf8) {
        QString text = QString::fromUtf8(s);
        for (QChar& c : text)
            c = c.toLower();
        return text.toUtf8();
    }
    QByteArray out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

bool IsUtf8(const QByteArray& affix)
{
    for (const QByteArray& line : AffixFile::Lines(affix)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() > 1 && f[0] == "SET")
            return f[1].toUpper() == "UTF-8" || f[1].toUpper() == "UTF8";
    }
    return false;
}

// "[^aeiou]y" -> ".y": a negated class could exclude a letter that a
// lower-cased root now has where the original root had its capital.
QByteArray WidenedCondition(const QByteArray& condition, bool utf8)
{
    QByteArray out;
    for (qsizetype i = 0; i < condition.size(); ++i) {
        const qsizetype close = condition.indexOf(']', i);
        if (condition[i] == '[' && i + 1 < condition.size() && condition[i + 1] == '^' && close > i) {
            out += '.';
            i = close;
        } else {
            out += condition[i];
        }
    }
    return Lowered(out, utf8);
}

QList<QByteArray> Fields(const QByteArray& line)
{
    return line.simplified().split(' ');
}

// "SFX f strip add/cont condition [morphology]" with strip, add and
// condition lower-cased; block heads and other lines stay as they are.
QByteArray FoldedRule(const QByteArray& line, bool utf8)
{
    QList<QByteArray> f = Fields(line);
    const bool head = f.size() == 4 && (f[2] == "Y" || f[2] == "N");
    if (f.size() < 5 || head)
        return line;
    f[2] = Lowered(f[2], utf8);
    const qsizetype slash = f[3].indexOf('/');
    f[3] = Lowered(f[3].left(slash < 0 ? f[3].size() : slash), utf8) + (slash < 0 ? QByteArray() : f[3].mid(slash));
    f[4] = WidenedCondition(f[4], utf8);
    return f.join(' ');
}

QByteArray Rewrite(const QByteArray& affix, const QSet<QByteArray>& drop, bool foldRules)
{
    const bool utf8 = IsUtf8(affix);
    QByteArray out;
    for (const QByteArray& line : AffixFile::Lines(affix)) {
        const QByteArray key = AffixFile::Keyword(line);
        if (drop.contains(key))
            continue;
        out += foldRules && (key == "PFX" || key == "SFX") ? FoldedRule(line, utf8) : line;
        out += '\n';
    }
    return out + "BREAK 0\n";
}

}  // namespace

QByteArray CaseFoldedAffix(const QByteArray& affix)
{
    return Rewrite(affix, kNarrowing + kSuggestionAndConversion, true);
}

QByteArray CaseFoldedWords(const QByteArray& affix, const QByteArray& words)
{
    const bool utf8 = IsUtf8(affix);
    QList<QByteArray> lines = DicLines(words);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const DicEntry e = DicEntryOfLine(lines[i]);
        lines[i] = Lowered(lines[i].left(e.wordEnd), utf8) + lines[i].mid(e.wordEnd);
    }
    return lines.join('\n');
}

bool CaseFoldsAllLetters(const QByteArray& affix)
{
    return IsUtf8(affix);
}

QByteArray ExactFormAffix(const QByteArray& affix)
{
    return Rewrite(affix, kCompounding + kSuggestionAndConversion + kWarnings, false);
}

}  // namespace lexicrawl
