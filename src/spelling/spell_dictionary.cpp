#include "spelling/spell_dictionary.h"

#include "spelling/hunspell_engine.h"
#include "spelling/suggestion_proof.h"
#include "spelling/verdict_cache.h"
#include "spelling/zip_read.h"

namespace lexicrawl {

SpellDictionary::SpellDictionary() = default;

SpellDictionary::~SpellDictionary()
{
    Unload();
}

QString SpellDictionary::GetInternalFileID() const
{
    return PackageFileName() + QStringLiteral("::") + internalAffixPath + QStringLiteral("::")
           + internalDictPath;
}

bool SpellDictionary::Load()
{
    if (loaded)
        return true;
    ZipRead package(dictionaryFileName, 0, 0, true);
    const int affixIndex = package.NameToIndex(internalAffixPath.toUtf8());
    if (affixIndex < 0)
        return false;
    const QByteArray affix = package.UnZip(affixIndex);
    const int wordsIndex = package.NameToIndex(internalDictPath.toUtf8());
    if (wordsIndex < 0)
        return false;
    const QByteArray words = package.UnZip(wordsIndex);
    // The proof is made from the files alone: it starts before the engine.
    pendingProof_ = std::async(std::launch::async, [affix, words] {
        return std::make_unique<SuggestionProof>(affix, words);
    });
    engine_ = HunspellEngine::Init(affix, words);
    added_ = false;
    verdicts_.Clear();
    loaded = engine_ != nullptr;
    if (!loaded) {
        StopBackgroundWork();
        proof_.reset();
        return false;
    }
    affix_ = affix;
    words_ = words;
    const QString folder = VerdictCacheFolder();
    if (!folder.isEmpty())
        verdicts_.Open(VerdictFilePath(folder, GetInternalFileID()), VerdictKey(affix, words));
    return true;
}

void SpellDictionary::StopBackgroundWork()
{
    if (pendingProof_.valid())
        pendingProof_.get();
}

void SpellDictionary::Unload()
{
    StopBackgroundWork();
    proof_.reset();
    {
        std::lock_guard<std::mutex> guard(helperLock_);
        helper_.reset();
    }
    engine_.reset();
    affix_.clear();
    words_.clear();
    verdicts_.Clear();
    active = false;
    loaded = false;
}

SuggestionProof* SpellDictionary::Proof()
{
    if (pendingProof_.valid())
        proof_ = pendingProof_.get();
    return added_ ? nullptr : proof_.get();
}

HunspellEngine* SpellDictionary::HelperEngine()
{
    std::lock_guard<std::mutex> guard(helperLock_);
    if (!engine_ || added_)
        return nullptr;
    if (!helper_)
        helper_ = HunspellEngine::Init(affix_, words_);
    return helper_.get();
}

bool SpellDictionary::Spell(const QString& word)
{
    return engine_ && engine_->Spell(word);
}

void SpellDictionary::Suggest(const QString& word, QStringList& suggestions)
{
    if (engine_)
        suggestions += engine_->Suggest(word);
}

void SpellDictionary::Analyze(const QString& word, QStringList& analyses)
{
    if (engine_)
        analyses += engine_->Analyze(word);
}

void SpellDictionary::Stem(const QString& word, QStringList& stems)
{
    if (engine_)
        stems += engine_->Stem(word);
}

// A word added at run time changes verdicts: the kept ones are dropped, and
// from now on the dictionary differs from its files, so nothing is kept
// between runs and the helpers built from the files are not used.
bool SpellDictionary::Add(const QString& word)
{
    if (!engine_)
        return false;
    verdicts_.Clear();
    added_ = true;
    return engine_->Add(word);
}

bool SpellDictionary::AddWithAffix(const QString& word, const QString& affixModel)
{
    if (!engine_)
        return false;
    verdicts_.Clear();
    added_ = true;
    return engine_->AddWithAffix(word, affixModel);
}

}  // namespace lexicrawl
