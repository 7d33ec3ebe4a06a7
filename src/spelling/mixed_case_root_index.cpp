#include "spelling/mixed_case_root_index.h"

#include "platform/text.h"

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

QString Field(const QByteArray& field)
{
    return field == "0" ? QString() : QString::fromUtf8(field);
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
            || key == "COMPOUNDEND" || key == "CIRCUMFIX" || (key == "FLAG" && f.size() > 1))
            return false;
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
            if (f[3].toUpper() != f[3].toLower() && f[3] != f[3].toLower())
                return false;  // an affix that brings capitals
            (key == "PFX" ? prefixes_ : suffixes_)[f[1][0]].append({Field(f[2]), int(Field(f[3]).size())});
        }
    }
    return true;
}

void MixedCaseRootIndex::ReadWords(const QByteArray& words)
{
    const QList<QByteArray> lines = words.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        const qsizetype tab = line.indexOf('\t');
        if (tab >= 0)
            line.truncate(tab);
        const qsizetype slash = line.indexOf('/');
        const QString root = QString::fromUtf8((slash < 0 ? line : line.left(slash)).trimmed());
        const QByteArray flags = slash < 0 ? QByteArray() : line.mid(slash + 1).trimmed();
        if (root.isEmpty())
            continue;
        for (char c : compoundFlags_) {
            if (flags.contains(c)) {
                usable_ = false;  // letter words that compound
                return;
            }
        }
        if (!HasCapitalAfterFirst(root))
            continue;
        const AffixBounds pfx = Bounds(prefixes_, flags, root, true);
        const AffixBounds sfx = Bounds(suffixes_, flags, root, false);
        const QString lower = LowerAZ(root);
        const qsizetype keep = lower.size() - pfx.strip - sfx.strip;
        const QString core = keep > 0 ? lower.mid(pfx.strip, keep) : QString();
        const int n = int(lower.size());
        cores_[core].append({n - pfx.strip - sfx.strip, n + pfx.add + sfx.add});
    }
}

MixedCaseRootIndex::AffixBounds MixedCaseRootIndex::Bounds(const QHash<char, QList<AffixRule>>& rules,
                                                           const QByteArray& flags, const QString& root,
                                                           bool prefix) const
{
    // A rule strips only what the root has at that end; its condition may
    // exclude it further, which only makes these bounds generous.
    AffixBounds b;
    for (char c : flags) {
        for (const AffixRule& r : rules.value(c)) {
            if (prefix ? !root.startsWith(r.strip) : !root.endsWith(r.strip))
                continue;
            b.strip = std::max(b.strip, int(r.strip.size()));
            b.add = std::max(b.add, r.add);
        }
    }
    return b;
}

bool MixedCaseRootIndex::MayMatch(const QString& word) const
{
    if (!usable_)
        return true;
    const int n = int(word.size());
    auto fits = [n](const QList<Range>& ranges) {
        for (const Range& r : ranges) {
            if (n >= r.minLength && n <= r.maxLength)
                return true;
        }
        return false;
    };
    const auto empty = cores_.constFind(QString());
    if (empty != cores_.constEnd() && fits(empty.value()))
        return true;
    for (qsizetype from = 0; from < n; ++from) {
        for (qsizetype len = 1; from + len <= n; ++len) {
            const auto it = cores_.constFind(QStringView(word).mid(from, len).toString());
            if (it != cores_.constEnd() && fits(it.value()))
                return true;
        }
    }
    return false;
}

}  // namespace lexicrawl
