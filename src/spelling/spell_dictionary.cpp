#include "spelling/spell_dictionary.h"

#include <QFileInfo>

#include <algorithm>

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
    return LoadEngine(true);
}

bool SpellDictionary::LoadForSpelling()
{
    return LoadEngine(false);
}

SpellDictionary::PreparedEngine::PreparedEngine() = default;
SpellDictionary::PreparedEngine::PreparedEngine(PreparedEngine&&) noexcept = default;
SpellDictionary::PreparedEngine& SpellDictionary::PreparedEngine::operator=(PreparedEngine&&) noexcept = default;
SpellDictionary::PreparedEngine::~PreparedEngine() = default;

bool SpellDictionary::ReadMembers(const EngineSource& source, QByteArray& affix, QByteArray& words)
{
    ZipRead package(source.package, 0, 0, true);
    const int affixIndex = package.NameToIndex(source.affixPath.toUtf8());
    if (affixIndex < 0)
        return false;
    affix = package.UnZip(affixIndex);
    const int wordsIndex = package.NameToIndex(source.dictPath.toUtf8());
    if (wordsIndex < 0)
        return false;
    words = package.UnZip(wordsIndex);
    return true;
}

SpellDictionary::PreparedEngine SpellDictionary::PrepareEngine(const EngineSource& source)
{
    PreparedEngine prepared;
    prepared.fileId = source.fileId;
    if (ReadMembers(source, prepared.affix, prepared.words))
        prepared.engine = HunspellEngine::Init(prepared.affix, prepared.words);
    return prepared;
}

bool SpellDictionary::LoadForSpelling(PreparedEngine prepared)
{
    if (prepared.fileId != GetInternalFileID() || !prepared.engine)
        return LoadEngine(false);
    return LoadEngine(false, &prepared);
}

bool SpellDictionary::LoadEngine(bool startProof, PreparedEngine* prepared)
{
    if (loaded)
        return true;
    QByteArray affix, words;
    if (prepared) {
        affix = prepared->affix;
        words = prepared->words;
    } else if (!ReadMembers(Source(), affix, words)) {
        return false;
    }
    affix_ = affix;
    words_ = words;
    // The proof is made from the files alone: it starts before the engine.
    if (startProof)
        StartProof();
    engine_ = prepared ? std::move(prepared->engine) : HunspellEngine::Init(affix, words);
    addedWords_.clear();
    addedLengths_.clear();
    addedWithAffixes_ = false;
    touchingVerdicts_.clear();
    suggestedWords = 0;
    verdicts_.Clear();
    loaded = engine_ != nullptr;
    if (!loaded) {
        StopBackgroundWork();
        pendingProof_ = {};
        affix_.clear();
        words_.clear();
        return false;
    }
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

void SpellDictionary::StartProof()
{
    if (pendingProof_.valid() || proof_ || affix_.isEmpty())
        return;
    // Notices name the dictionary by its affix file ("en_US").
    const QString name = QFileInfo(internalAffixPath).completeBaseName();
    pendingProof_ = std::async(std::launch::async, [affix = affix_, words = words_, name] {
        auto proof = std::make_shared<SuggestionProof>(affix, words);
        if (proof->DecidesKnown()) {
            if (const std::unique_ptr<HunspellEngine> engine = HunspellEngine::Init(affix, words))
                proof->SelfCheck(*engine, words, name);
        }
        return proof;
    });
}

SuggestionProof* SpellDictionary::Proof()
{
    if (loaded)
        StartProof();  // loaded for spelling only until now
    if (!proof_ && pendingProof_.valid())
        proof_ = pendingProof_.get();
    return proof_.get();
}

QString SpellDictionary::ReplayNotice()
{
    // A dictionary loaded only to be asked about words (beside the chosen
    // one) has no proof and so nothing to tell: asking must not build one.
    if (!proof_ && !pendingProof_.valid())
        return QString();
    const SuggestionProof* proof = Proof();
    return proof ? proof->ReplayNotice() : QString();
}

// The helper is made on a thread of its own from the files and, once it is
// there, the proof (waited for through a copy of its future, which any
// thread may wait on).
void SpellDictionary::StartHelper()
{
    if (pendingHelper_.valid() || !engine_)
        return;
    StartProof();
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
    StartHelper();
    if (!pendingHelper_.valid() || pendingHelper_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return nullptr;
    const Helper* helper = pendingHelper_.get().get();
    return helper->engine ? helper : nullptr;
}

const SpellDictionary::Helper* SpellDictionary::MadeHelper()
{
    std::lock_guard<std::mutex> guard(helperLock_);
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

// A word added at run time changes the verdicts of the words that hold it
// (as itself, in another case, as a piece between hyphens, as the half of a
// split suggestion), and only theirs: a word added by Add has no affixes and
// no compound flags. Those words leave the kept verdicts and are from now on
// checked on the engine alone; every other verdict still holds for the
// dictionary's files, and so do the proof, the helper and the file they are
// kept in.
//
// Holding is told with every letter case-folded, not A-Z alone: the engine
// takes "Über" for an added "über", and a page word keeps capitals beyond
// A-Z. Folding more finds more words, never fewer.
void SpellDictionary::NoteAdded(const QString& word)
{
    const QString folded = word.toCaseFolded();
    if (folded.isEmpty() || !addedWords_.insert(folded).second)
        return;
    if (std::find(addedLengths_.begin(), addedLengths_.end(), folded.size()) == addedLengths_.end())
        addedLengths_.push_back(folded.size());
    verdicts_.EraseHolding(folded);
    touchingVerdicts_.clear();
}

bool SpellDictionary::TouchesAddedWord(const QString& word) const
{
    if (addedWithAffixes_)
        return true;
    if (addedWords_.empty())
        return false;
    const QString folded = word.toCaseFolded();
    const QStringView view(folded);
    for (const qsizetype length : addedLengths_) {
        for (qsizetype at = 0; at + length <= view.size(); ++at) {
            if (addedWords_.find(view.mid(at, length)) != addedWords_.end())
                return true;
        }
    }
    return false;
}

bool SpellDictionary::Add(const QString& word)
{
    if (!engine_)
        return false;
    NoteAdded(word);
    return engine_->Add(word);
}

bool SpellDictionary::AddWithAffix(const QString& word, const QString& affixModel)
{
    if (!engine_)
        return false;
    // Its forms may strip letters of the word and join compounds: which
    // words it touches is not told by looking, so every word is checked on
    // the engine, and nothing is kept between runs any more.
    addedWithAffixes_ = true;
    verdicts_.Clear();
    touchingVerdicts_.clear();
    return engine_->AddWithAffix(word, affixModel);
}

}  // namespace lexicrawl
