#include "spelling/capital_suggestion_check.h"

#include <QList>
#include <QSet>

#include "spelling/dic_entries.h"

namespace lexicrawl {

namespace {

constexpr int kMaxSuggestions = 15;
constexpr qsizetype kMaxWordLength = 48;

bool IsPlainWord(const QString& w)
{
    if (w.isEmpty() || w.size() > kMaxWordLength || w[0] < QLatin1Char('a') || w[0] > QLatin1Char('z'))
        return false;
    for (QChar c : w) {
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('\'')))
            return false;
    }
    return true;
}

bool HasAscii(const QByteArray& s)
{
    for (char c : s) {
        if (uchar(c) < 0x80)
            return true;
    }
    return false;
}

QList<QByteArray> Fields(const QByteArray& line)
{
    return line.simplified().split(' ');
}

bool AnyFlagIn(const QByteArray& flags, const QByteArray& wanted)
{
    for (char f : wanted) {
        if (flags.contains(f))
            return true;
    }
    return false;
}

}  // namespace

CapitalSuggestionCheck::CapitalSuggestionCheck(const QByteArray& affix, const QByteArray& words)
{
    QByteArray nosuggest, compoundFlags;
    ReadAffix(affix, nosuggest, compoundFlags);
    if (enabled_)
        ReadWords(words, nosuggest, compoundFlags);
}

void CapitalSuggestionCheck::ReadAffix(const QByteArray& affix, QByteArray& nosuggest, QByteArray& compoundFlags)
{
    for (const QByteArray& raw : affix.split('\n')) {
        const QList<QByteArray> f = Fields(raw);
        const QByteArray& key = f[0];
        if (key == "MAP" || key == "COMPLEXPREFIXES" || key == "FORCEUCASE" || key == "BREAK"
            || key == "AF" || key == "COMPOUNDFLAG" || key == "COMPOUNDBEGIN" || key == "COMPOUNDMIDDLE"
            || key == "COMPOUNDEND" || (key == "FLAG" && f.size() > 1 && f[1] != "UTF-8")) {
            enabled_ = false;  // FLAG long/num: flags are not single bytes
        } else if ((key == "ICONV" || key == "IGNORE") && f.size() > 1 && !f[1].toInt() && HasAscii(f[1])) {
            enabled_ = false;
        } else if (key == "NOSUGGEST" && f.size() > 1) {
            nosuggest = f[1];
        } else if (key == "COMPOUNDRULE" && f.size() > 1 && !f[1].toInt()) {
            for (char c : f[1]) {
                if (c != '*' && c != '?' && c != '(' && c != ')')
                    compoundFlags.append(c);
            }
        } else if ((key == "PFX" || key == "SFX") && f.size() > 3
                   && (f[3].contains('-') || f[3].contains('_'))) {
            phrases_ = true;  // affixes that make words of two
        } else if (key == "REP" && f.size() > 2) {
            QString pattern = QString::fromUtf8(f[1]);
            if (pattern.startsWith(QLatin1Char('^')))
                pattern.remove(0, 1);
            if (pattern.endsWith(QLatin1Char('$')))
                pattern.chop(1);
            QString with = QString::fromUtf8(f[2]);
            with.replace(QLatin1Char('_'), QLatin1Char(' '));
            if (!pattern.isEmpty())
                replacements_.push_back({pattern, with});
        }
    }
}

void CapitalSuggestionCheck::ReadWords(const QByteArray& words, const QByteArray& nosuggest,
                                       const QByteArray& compoundFlags)
{
    for (const DicEntry& entry : DicEntries(words)) {
        if (!enabled_)
            break;
        const QByteArray& flags = entry.flags;
        if (entry.root.contains('-') || entry.root.contains(' '))
            phrases_ = true;
        if (flags.isEmpty())
            continue;
        bool capital = false, letters = true;
        for (char c : entry.root) {
            capital |= c >= 'A' && c <= 'Z';
            letters &= (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'' || uchar(c) >= 0x80;
        }
        // A no-suggest word with capitals is accepted but never offered;
        // compounding of letter words is accepted by Spell but not offered
        // by the simple candidates.
        if ((capital && AnyFlagIn(flags, nosuggest)) || (letters && AnyFlagIn(flags, compoundFlags)))
            enabled_ = false;
    }
}

bool CapitalSuggestionCheck::Check(const QString& word,
                                   const std::function<bool(const QString&)>& spell) const
{
    if (!enabled_ || !IsPlainWord(word))
        return false;
    QString capital = word;
    capital[0] = capital[0].toUpper();
    if (!spell(capital))
        return false;
    // A split whose pieces joined by a space or a hyphen make a dictionary
    // word ("bolt-on", "bolt-on's", "a priori") makes the engine offer that
    // pair alone.
    if (phrases_) {
        for (qsizetype i = 1; i < word.size(); ++i) {
            if (spell(word.left(i) + QLatin1Char('-') + word.mid(i))
                || spell(word.left(i) + QLatin1Char(' ') + word.mid(i)))
                return false;
        }
    }
    // Candidates tried before the capitals, counted generously: every
    // transposition of two letters, the double swaps of short words, and
    // every replacement-table edit at every place. The all-capitals form
    // counts as one.
    QSet<QString> accepted;
    int withSpaces = 0;
    auto consider = [&](const QString& candidate) {
        if (candidate == capital || accepted.contains(candidate))
            return;
        if (candidate.contains(QLatin1Char(' ')))
            withSpaces += 2;
        else if (spell(candidate))
            accepted.insert(candidate);
    };
    const qsizetype n = word.size();
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + 1; j < n; ++j) {
            QString c = word;
            std::swap(c[i], c[j]);
            consider(c);
        }
    }
    if (n == 4 || n == 5) {
        QString c = word;
        c[0] = word[1];
        c[1] = word[0];
        c[n - 2] = word[n - 1];
        c[n - 1] = word[n - 2];
        consider(c);
        if (n == 5) {
            c[0] = word[0];
            c[1] = word[2];
            c[2] = word[1];
            consider(c);
        }
    }
    for (const Replacement& r : replacements_) {
        for (qsizetype at = word.indexOf(r.pattern); at >= 0; at = word.indexOf(r.pattern, at + 1)) {
            QString c = word;
            c.replace(at, r.pattern.size(), r.with);
            consider(c);
        }
    }
    return 1 + int(accepted.size()) + withSpaces < kMaxSuggestions;
}

}  // namespace lexicrawl
