#include "spelling/mixed_case_root_index.h"

#include <QStringList>

#include "spelling/dic_entries.h"

namespace lexicrawl {

namespace {

bool HasCapitalAfterFirst(const QString& root)
{
    for (qsizetype i = 1; i < root.size(); ++i) {
        if (root[i].isUpper())
            return true;
    }
    return false;
}

// "Cwm-hirs" is accepted, "CWM-HIRS" is not: the engine checks capitals
// of words with hyphens or apostrophes piece by piece.
bool HasNonLetter(const QString& root)
{
    for (QChar c : root) {
        if (!c.isLetter())
            return true;
    }
    return false;
}

QString Field(const QByteArray& field)
{
    return field == "0" ? QString() : QString::fromUtf8(field);
}

bool HasLetter(const QByteArray& text)
{
    for (QChar c : QString::fromUtf8(text)) {
        if (c.isLetter())
            return true;
    }
    return false;
}

}  // namespace

MixedCaseRootIndex::MixedCaseRootIndex(const QByteArray& affix, const QByteArray& words)
{
    usable_ = ReadAffix(affix);
    if (usable_)
        ReadWords(words);
}

bool MixedCaseRootIndex::ReadAffix(const QByteArray& affix)
{
    for (const QByteArray& raw : affix.split('\n')) {
        const QList<QByteArray> f = raw.simplified().split(' ');
        const QByteArray& key = f[0];
        if (key == "AF" || key == "COMPOUNDFLAG" || key == "COMPOUNDBEGIN" || key == "COMPOUNDMIDDLE"
            || key == "COMPOUNDEND" || key == "CIRCUMFIX" || key == "IGNORE"
            || (key == "FLAG" && f.size() > 1))
            return false;
        // "BREAK n" heads the list; each entry is a string the engine splits
        // words at. Pieces are looked up between non-letters only.
        if (key == "BREAK" && f.size() > 1 && !f[1].toInt() && HasLetter(f[1]))
            return false;
        // "ICONV from to": input conversions, kept when they map one
        // non-letter to non-letters (a typographic apostrophe to a plain one).
        if (key == "ICONV" && f.size() > 2) {
            const QString from = QString::fromUtf8(f[1]);
            const QString to = QString::fromUtf8(f[2]);
            if (from.size() != 1 || HasLetter(f[1]) || HasLetter(f[2]))
                return false;
            conversions_.insert(from[0], to);
        }
        if (key == "COMPOUNDRULE" && f.size() > 1 && !f[1].toInt()) {
            for (char c : f[1]) {
                if (c != '*' && c != '?' && c != '(' && c != ')')
                    compoundFlags_.append(c);
            }
        }
        // Rule lines: "SFX flag strip add condition"; the header line has
        // "Y"/"N" and a count where strip and add stand.
        const bool header = f.size() >= 4 && (f[2] == "Y" || f[2] == "N") && f[3].toInt() > 0;
        if ((key == "PFX" || key == "SFX") && f.size() >= 4 && f[1].size() == 1 && !header) {
            if (f[3].contains('/'))
                return false;  // continuation classes: forms of forms
            const QString add = Field(f[3]);
            if (add != add.toLower())
                return false;  // an affix that brings capitals
            (key == "PFX" ? prefixes_ : suffixes_)[f[1][0]].append({Field(f[2]), add});
        }
    }
    return true;
}

QStringList MixedCaseRootIndex::Affixed(const QStringList& stems, const QByteArray& flags, bool prefix) const
{
    // A rule strips only what the root has at that end; its condition may
    // exclude it further, which only makes the set larger than need be.
    const Rules& rules = prefix ? prefixes_ : suffixes_;
    QStringList out;
    for (const QString& stem : stems) {
        for (char c : flags) {
            for (const AffixRule& r : rules.value(c)) {
                if (prefix ? !stem.startsWith(r.strip) : !stem.endsWith(r.strip))
                    continue;
                out << (prefix ? r.add + stem.mid(r.strip.size()) : stem.chopped(r.strip.size()) + r.add);
            }
        }
    }
    return out;
}

void MixedCaseRootIndex::ReadWords(const QByteArray& words)
{
    for (const DicEntry& entry : DicEntries(words)) {
        const QString root = QString::fromUtf8(entry.root);
        const QByteArray& flags = entry.flags;
        // Compounds of roots without capitals ("21st" of "2" and "1st")
        // stay accepted in capitals; a root with capitals that compounds
        // is beyond this index.
        for (char c : compoundFlags_) {
            if (flags.contains(c) && root != root.toLower()) {
                usable_ = false;
                return;
            }
        }
        if (!HasCapitalAfterFirst(root) && !(root[0].isUpper() && HasNonLetter(root)))
            continue;
        const QStringList suffixed = QStringList{root} + Affixed({root}, flags, false);
        const QStringList all = suffixed + Affixed(suffixed, flags, true);
        for (const QString& form : all)
            forms_.insert(form.toLower());
    }
}

bool MixedCaseRootIndex::MayMatch(const QString& word) const
{
    if (!usable_)
        return true;
    // Looked up as the engine would check it, converted or not, and
    // compared in full lower case: a spelling the engine accepts for a form
    // differs from it in case only, so both lower-case alike.
    const QString lower = word.toLower();
    if (FormIn(lower))
        return true;
    if (conversions_.isEmpty())
        return false;
    QString converted;
    for (QChar c : lower)
        converted += conversions_.value(c, QString(c));
    return converted != lower && FormIn(converted);
}

bool MixedCaseRootIndex::FormIn(const QString& key) const
{
    const qsizetype n = key.size();
    auto edge = [&key, n](qsizetype i) {
        return i == 0 || i == n || !key[i - 1].isLetter() || !key[i].isLetter();
    };
    for (qsizetype from = 0; from < n; ++from) {
        if (!edge(from))
            continue;
        for (qsizetype to = from + 1; to <= n; ++to) {
            if (edge(to) && forms_.contains(QStringView(key).mid(from, to - from).toString()))
                return true;
        }
    }
    return false;
}

}  // namespace lexicrawl
