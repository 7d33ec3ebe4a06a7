#include "spelling/custom_dictionary.h"

#include <QFileInfo>

#include "platform/language_ids.h"

namespace lexicrawl {

namespace {
constexpr uint16_t kSystemDefaultLangId = 0x0800;
}

QString LangIDToLanguageName(uint16_t langId)
{
    return LanguageDisplayName(langId).left(79);
}

CustomDictionary::CustomDictionary()
    : langId(kSystemDefaultLangId), languageName(LangIDToLanguageName(kSystemDefaultLangId))
{
}

CustomDictionary::~CustomDictionary() = default;

QString CustomDictionary::GetInternalFileID() const
{
    return {};
}

bool CustomDictionary::Load()
{
    return false;
}

void CustomDictionary::Unload()
{
    loaded = false;
}

QString CustomDictionary::PackageFileName() const
{
    // Packages may be named with either separator.
    QString path = dictionaryFileName;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(path).fileName();
}

}  // namespace lexicrawl
