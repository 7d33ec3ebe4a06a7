#include "app/core/app_environment.h"

#include <QDir>
#include <QFileInfo>

#include "app/core/data_folder.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"
#include "spelling/verdict_cache.h"

namespace lexicrawl {

AppEnvironment::AppEnvironment(const Platform& platform, const QString& dataFolder)
    : programFolder_(platform.ProgramFolder())
{
    if (dataFolder.isEmpty()) {
        dataFolder_ = platform.IsInstalled() ? PerUserDataFolder(platform.RoamingDataFolder())
                                             : DecideDataFolder(programFolder_, platform.RoamingDataFolder());
    } else {
        QDir().mkpath(dataFolder);
        dataFolder_ = WithTrailingSlash(QFileInfo(dataFolder).absoluteFilePath());
    }
    settings_ = std::make_unique<Settings>(dataFolder_);
    language_.Load(LanguagesFolder(), settings_->LanguageFile(), platform.UiLanguageId());
    SetTranslator(&language_);
    // Word verdicts are kept between runs, per dictionary.
    SetVerdictCacheFolder(dataFolder_ + QStringLiteral("VerdictCache"));
}

AppEnvironment::~AppEnvironment()
{
    SetTranslator(nullptr);
}

QString AppEnvironment::DictionariesFolder() const
{
    return programFolder_ + QStringLiteral("Dictionaries");
}

QString AppEnvironment::UserDictionariesFolder() const
{
    const QString folder = dataFolder_ + QStringLiteral("Dictionaries");
    QDir().mkpath(folder);
    return folder;
}

QStringList AppEnvironment::DictionaryFolders() const
{
    const QString user = UserDictionariesFolder();
    const QString shipped = DictionariesFolder();
    if (QFileInfo(user).canonicalFilePath() == QFileInfo(shipped).canonicalFilePath())
        return {shipped};
    return {user, shipped};
}

QString AppEnvironment::LanguagesFolder() const
{
    return programFolder_ + QStringLiteral("Languages");
}

}  // namespace lexicrawl
