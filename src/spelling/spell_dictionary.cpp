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
    engine_ = HunspellEngine::Init(affix, words);
    verdicts_.clear();
    loaded = engine_ != nullptr;
    affixData_ = loaded ? affix : QByteArray();
    wordData_ = loaded ? words : QByteArray();
    return loaded;
}

void SpellDictionary::Unload()
{
    engine_.reset();
    verdicts_.clear();
    affixData_.clear();
    wordData_.clear();
    active = false;
    loaded = false;
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
