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

QByteArray LowerAZBytes(QByteArray s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return s;
}

// "[^aeiou]y" -> ".y": a negated class could exclude a letter that a
// lower-cased root now has where the original root had its capital.
QByteArray WidenedCondition(const QByteArray& condition)
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
    return LowerAZBytes(out);
}

QList<QByteArray> Fields(const QByteArray& line)
{
    return line.simplified().split(' ');
}

// "SFX f strip add/cont condition [morphology]" with strip, add and
// condition lower-cased; block heads and other lines stay as they are.
QByteArray FoldedRule(const QByteArray& line)
{
    QList<QByteArray> f = Fields(line);
    const bool head = f.size() == 4 && (f[2] == "Y" || f[2] == "N");
    if (f.size() < 5 || head)
        return line;
    f[2] = LowerAZBytes(f[2]);
    const qsizetype slash = f[3].indexOf('/');
    f[3] = LowerAZBytes(f[3].left(slash < 0 ? f[3].size() : slash)) + (slash < 0 ? QByteArray() : f[3].mid(slash));
    f[4] = WidenedCondition(f[4]);
    return f.join(' ');
}

QByteArray Rewrite(const QByteArray& affix, const QSet<QByteArray>& drop, bool foldRules)
{
    QByteArray out;
    for (const QByteArray& line : AffixFile::Lines(affix)) {
        const QByteArray key = AffixFile::Keyword(line);
        if (drop.contains(key))
            continue;
        out += foldRules && (key == "PFX" || key == "SFX") ? FoldedRule(line) : line;
        out += '\n';
    }
    return out + "BREAK 0\n";
}

}  // namespace

QByteArray CaseFoldedAffix(const QByteArray& affix)
{
    return Rewrite(affix, kNarrowing + kSuggestionAndConversion, true);
}

QByteArray CaseFoldedWords(const QByteArray& words)
{
    QList<QByteArray> lines = DicLines(words);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const DicEntry e = DicEntryOfLine(lines[i]);
        lines[i] = LowerAZBytes(lines[i].left(e.wordEnd)) + lines[i].mid(e.wordEnd);
    }
    return lines.join('\n');
}

QByteArray ExactFormAffix(const QByteArray& affix)
{
    return Rewrite(affix, kCompounding + kSuggestionAndConversion + kWarnings, false);
}

}  // namespace lexicrawl
