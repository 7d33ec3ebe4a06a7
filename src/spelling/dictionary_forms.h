#pragma once
// Whether spellings are forms of a dictionary's word list that it may
// suggest: the same answer as SuggestionEngine::Accepts, from the set of
// forms alone, which takes a fraction of the engine's time and memory to
// build. For callers that test many spellings and want no suggestions.
//
// Thread-safety: immutable after Build; Accepts may run on several threads
// at once.
#include <QByteArray>
#include <QStringView>

#include <memory>

namespace lexicrawl {

class DictionaryWords;

class DictionaryForms {
public:
    // Null when either block is empty.
    static std::unique_ptr<DictionaryForms> Build(const QByteArray& affix, const QByteArray& words);
    ~DictionaryForms();
    DictionaryForms(const DictionaryForms&) = delete;
    DictionaryForms& operator=(const DictionaryForms&) = delete;

    bool Accepts(QStringView form) const;

private:
    DictionaryForms();
    std::unique_ptr<DictionaryWords> words_;
};

}  // namespace lexicrawl
