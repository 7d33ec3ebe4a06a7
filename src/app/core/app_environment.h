#pragma once
// What every front end starts from: the program's folder (where empty.db,
// Languages/ and Dictionaries/ lie), the data folder (settings.ini and the
// working files), the settings themselves and the interface language, which
// becomes the process's translator for as long as the environment lives.
//
// Thread-safety: made and used on the front end's main thread; the folders
// may be read from any thread once it is made.
#include <QString>
#include <QStringList>

#include <memory>

#include "app/core/language.h"
#include "app/core/settings.h"

namespace lexicrawl {

class Platform;

class AppEnvironment {
public:
    // Decides the data folder (or takes dataFolder, created when missing),
    // opens settings.ini there and loads the interface language.
    explicit AppEnvironment(const Platform& platform, const QString& dataFolder = QString());
    ~AppEnvironment();
    AppEnvironment(const AppEnvironment&) = delete;
    AppEnvironment& operator=(const AppEnvironment&) = delete;

    // Folders end with a separator, except where named as a folder itself.
    QString ProgramFolder() const { return programFolder_; }
    QString DataFolder() const { return dataFolder_; }
    // The folder "Dictionaries" beside the program (shipped, read-only when
    // installed).
    QString DictionariesFolder() const;
    // The folder "Dictionaries" in the data folder, where the user drops
    // packages of their own; created when missing.
    QString UserDictionariesFolder() const;
    // Every folder the dictionaries are read from: the user's first, so that
    // a package of theirs takes the place of a shipped one of the same name;
    // one folder when the two are the same (a run from the build folder).
    QStringList DictionaryFolders() const;
    // The folder "Languages" beside the program.
    QString LanguagesFolder() const;

    Settings& settings() { return *settings_; }
    const Settings& settings() const { return *settings_; }
    const Language& language() const { return language_; }

private:
    QString programFolder_;
    QString dataFolder_;
    std::unique_ptr<Settings> settings_;
    Language language_;
};

}  // namespace lexicrawl
