#pragma once
// One hyphenation pattern set (libhyphen) made from a pattern file's bytes,
// read through an in-memory stream.
//
// Thread-safety: none; use one engine per thread.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct _HyphenDict;

namespace lexicrawl {

class DictionaryCodec;

// What one hyphenation gives: the word with "=" at every break, and the
// library's per-character vectors (replacements only for non-standard
// hyphenation such as German "Schiff=fahrt").
struct HyphenResult {
    QString hyphenatedWord;
    std::vector<int> hyphenationPoints;
    QStringList repData;
    std::vector<int> posData;
    std::vector<int> cutData;
};

class HyphenEngine {
public:
    // Null when the bytes hold no usable pattern set.
    static std::unique_ptr<HyphenEngine> Init(const QByteArray& patterns);
    ~HyphenEngine();
    HyphenEngine(const HyphenEngine&) = delete;
    HyphenEngine& operator=(const HyphenEngine&) = delete;

    HyphenResult Hyphenate(const QString& word);

private:
    HyphenEngine() = default;

    _HyphenDict* dict_ = nullptr;
    std::unique_ptr<DictionaryCodec> codec_;
};

}  // namespace lexicrawl
