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
    return PackageFileName() + QStringLiteral("::") + internalHyphenPath;
}

bool HyphenDictionary::Load()
{
    if (loaded)
        return true;
    ZipRead package(dictionaryFileName, 0, 0, true);
    const int index = package.NameToIndex(internalHyphenPath.toUtf8());
    if (index < 0)
        return false;
    engine_ = HyphenEngine::Init(package.UnZip(index));
    loaded = engine_ != nullptr;
    return loaded;
}

void HyphenDictionary::Unload()
{
    engine_.reset();
    active = false;
    loaded = false;
}

QString HyphenDictionary::Hyphenate(const QString& word)
{
    if (!active || !engine_)
        return word;
    return engine_->Hyphenate(word).hyphenatedWord;
}

const HyphenResult* HyphenDictionary::HyphenateResult(const QString& word)
{
    if (!active || !engine_)
        return nullptr;
    last_ = engine_->Hyphenate(word);
    return &last_;
}

}  // namespace lexicrawl
