#pragma once
// A hyphenation pattern file inside a package, loaded on demand like a spell
// dictionary. The system lists these but never activates them.
//
// Thread-safety: none; used from the main thread.
#include <memory>

#include "spelling/custom_dictionary.h"
#include "spelling/hyphen_engine.h"

namespace lexicrawl {

class HyphenDictionary : public CustomDictionary {
public:
    HyphenDictionary();
    ~HyphenDictionary() override;

    QString GetInternalFileID() const override;
    bool Load() override;
    void Unload() override;

    // The word with "=" at its breaks; the word unchanged when the dictionary
    // is not active or has no engine.
    QString Hyphenate(const QString& word);
    // The whole result, valid until the next call; null when not active or
    // without engine.
    const HyphenResult* HyphenateResult(const QString& word);

    QString internalHyphenPath;

private:
    std::unique_ptr<HyphenEngine> engine_;
    HyphenResult last_;
};

}  // namespace lexicrawl
