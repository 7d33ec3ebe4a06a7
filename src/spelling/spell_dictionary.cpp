#include "spelling/spell_dictionary.h"

#include "spelling/hunspell_engine.h"
#include "spelling/zip_read.h"

namespace lexicrawl {

SpellDictionary::SpellDictionary() = default;

SpellDictionary::~SpellDictionary()
{
    Unload();
}

QString SpellDictionary::GetInternalFileID() const
{
    return PackageFileName() + QStringLiteral("::") + FInternalAffixPath + QStringLiteral("::")
           + FInternalDictPath;
}

bool SpellDictionary::Load()
{
    if (FLoaded)
        return true;
    ZipRead package(FDictionaryFilename, 0, 0, true);
    const int affixIndex = package.NameToIndex(FInternalAffixPath.toUtf8());
    if (affixIndex < 0)
        return false;
    const QByteArray affix = package.UnZip(affixIndex);
    const int wordsIndex = package.NameToIndex(FInternalDictPath.toUtf8());
    if (wordsIndex < 0)
        return false;
    const QByteArray words = package.UnZip(wordsIndex);
    engine_ = HunspellEngine::Init(affix, words);
    verdicts_.clear();
    FLoaded = engine_ != nullptr;
    return FLoaded;
}

void SpellDictionary::Unload()
{
    engine_.reset();
    verdicts_.clear();
    FActive = false;
    FLoaded = false;
}

bool SpellDictionary::Spell(const QString& word)
{
    return engine_ && engine_->Spell(word);
}

void SpellDictionary::Suggest(const QString& word, QStringList& aWordList)
{
    if (engine_)
        aWordList += engine_->Suggest(word);
}

void SpellDictionary::Analyze(const QString& word, QStringList& aWordList)
{
    if (engine_)
        aWordList += engine_->Analyze(word);
}

void SpellDictionary::Stem(const QString& word, QStringList& aWordList)
{
    if (engine_)
        aWordList += engine_->Stem(word);
}

bool SpellDictionary::Add(const QString& word)
{
    if (!engine_)
        return false;
    verdicts_.clear();
    return engine_->Add(word);
}

bool SpellDictionary::AddWithAffix(const QString& word, const QString& affixModel)
{
    if (!engine_)
        return false;
    verdicts_.clear();
    return engine_->AddWithAffix(word, affixModel);
}

}  // namespace lexicrawl
