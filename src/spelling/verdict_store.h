#pragma once
// The word verdicts of one loaded dictionary, kept in memory and, when a
// cache folder is set (verdict_cache.h), in a file of that folder between
// runs. A verdict depends only on the dictionary's affix and word-list
// files (and the spelling library), so the file is bound to a key made
// from them: a file with another key, or one that is damaged or cut short,
// is not read, and is replaced at the next save.
//
// The file keeps at most kMaxStoredVerdicts verdicts, those last used first.
//
// Thread-safety: every member may be called from any thread; the map is
// guarded by a lock (the word check runs on a writer thread while the
// application saves from its own).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/text_hash.h"

namespace lexicrawl {

inline constexpr qsizetype kMaxStoredVerdicts = 400'000;

class VerdictStore {
public:
    // The verdicts of words, in order; nullopt where none is kept.
    std::vector<std::optional<bool>> Find(const QStringList& words);
    void Insert(const QStringList& words, const std::vector<bool>& known);
    std::optional<bool> Find(const QString& word);
    void Insert(const QString& word, bool known);
    // Forgets the verdicts of the words that hold piece (case-folded), case
    // aside.
    void EraseHolding(const QString& piece);
    // Forgets every verdict and the file binding (the engine changed).
    void Clear();
    qsizetype Size();

    // Binds the store to path for key and reads the file when it holds
    // verdicts for key. False when there was nothing usable to read.
    bool Open(const QString& path, const QByteArray& key);
    // Writes the verdicts when any came since the last save; true when the
    // file is up to date afterwards.
    bool Save();

private:
    struct Verdict {
        bool known = false;
        uint32_t generation = 0;  // the run that last used it
    };
    TextMap<Verdict> map_;
    QString path_;
    QByteArray key_;
    uint32_t generation_ = 1;
    bool dirty_ = false;
    std::mutex lock_;
};

}  // namespace lexicrawl
