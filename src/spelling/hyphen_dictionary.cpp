#include "spelling/hyphen_dictionary.h"

#include "spelling/zip_read.h"

namespace lexicrawl {

HyphenDictionary::HyphenDictionary() = default;

HyphenDictionary::~HyphenDictionary()
{
    Unload();
}

QString HyphenDictionary::GetInternalFileID() const
{
    return PackageFileName() + QStringLiteral("::") + FInternalHyphenPath;
}

bool HyphenDictionary::Load()
{
    if (FLoaded)
        return true;
    ZipRead package(FDictionaryFilename, 0, 0, true);
    const int index = package.NameToIndex(FInternalHyphenPath.toUtf8());
    if (index < 0)
        return false;
    engine_ = HyphenEngine::Init(package.UnZip(index));
    FLoaded = engine_ != nullptr;
    return FLoaded;
}

void HyphenDictionary::Unload()
{
    engine_.reset();
    FActive = false;
    FLoaded = false;
}

QString HyphenDictionary::Hyphenate(const QString& word)
{
    if (!FActive || !engine_)
        return word;
    return engine_->Hyphenate(word).hyphenatedWord;
}

const HyphenResult* HyphenDictionary::HyphenateResult(const QString& word)
{
    if (!FActive || !engine_)
        return nullptr;
    last_ = engine_->Hyphenate(word);
    return &last_;
}

}  // namespace lexicrawl
