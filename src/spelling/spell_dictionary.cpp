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
        return std::make_shared<SuggestionProof>(affix, words);
    });
    engine_ = HunspellEngine::Init(affix, words);
    added_ = false;
    verdicts_.Clear();
    loaded = engine_ != nullptr;
    if (!loaded) {
        StopBackgroundWork();
        pendingProof_ = {};
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
    std::shared_future<std::shared_ptr<Helper>> helper;
    {
        std::lock_guard<std::mutex> guard(helperLock_);
        helper = pendingHelper_;
    }
    if (helper.valid())
        helper.wait();
    if (pendingProof_.valid())
        pendingProof_.wait();
}

void SpellDictionary::Unload()
{
    StopBackgroundWork();
    {
        std::lock_guard<std::mutex> guard(helperLock_);
        pendingHelper_ = {};
    }
    proof_.reset();
    pendingProof_ = {};
    engine_.reset();
    // What this run decided stays for the next (nothing when no cache file).
    verdicts_.Save();
    affix_.clear();
    words_.clear();
    verdicts_.Clear();
    active = false;
    loaded = false;
}

SuggestionProof* SpellDictionary::Proof()
{
    if (!proof_ && pendingProof_.valid())
        proof_ = pendingProof_.get();
    return added_ ? nullptr : proof_.get();
}

// The helper is made on a thread of its own from the files and, once it is
// there, the proof (waited for through a copy of its future, which any
// thread may wait on).
void SpellDictionary::StartHelper()
{
    if (pendingHelper_.valid() || !engine_)
        return;
    pendingHelper_ = std::async(std::launch::async, [affix = affix_, words = words_, proof = pendingProof_] {
        auto helper = std::make_shared<Helper>();
        helper->engine = HunspellEngine::Init(affix, words);
        const std::shared_ptr<SuggestionProof> original = proof.valid() ? proof.get() : nullptr;
        if (helper->engine && original)
            helper->proof = original->Twin(affix, words);
        return helper;
    });
}

const SpellDictionary::Helper* SpellDictionary::ReadyHelper()
{
    std::lock_guard<std::mutex> guard(helperLock_);
    if (added_)
        return nullptr;
    StartHelper();
    if (!pendingHelper_.valid() || pendingHelper_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return nullptr;
    const Helper* helper = pendingHelper_.get().get();
    return helper->engine ? helper : nullptr;
}

const SpellDictionary::Helper* SpellDictionary::WaitForHelper()
{
    std::shared_future<std::shared_ptr<Helper>> pending;
    {
        std::lock_guard<std::mutex> guard(helperLock_);
        if (added_)
            return nullptr;
        StartHelper();
        pending = pendingHelper_;
    }
    if (!pending.valid())
        return nullptr;
    const Helper* helper = pending.get().get();
    return helper->engine ? helper : nullptr;
}

HunspellEngine* SpellDictionary::HelperEngine()
{
    const Helper* helper = WaitForHelper();
    return helper ? helper->engine.get() : nullptr;
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
