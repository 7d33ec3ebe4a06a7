#pragma once
// The interface language: the language files ("*.lang.txt") and
// "LanguageCodes.csv" in the Languages folder beside the program, the choice
// made at start-up, and the lookup keyed by the English text.
//
// Thread-safety: Load() runs once on the main thread before anything is
// translated; afterwards the object is only read and may be used from any
// thread.
#include <QHash>
#include <QStringList>

#include "platform/translation.h"

namespace lexicrawl {

class Settings;

class Language : public Translator {
public:
    // Fills the loaded language from the folder, the "LanguageFile" setting
    // and, when that is empty, the system's UI language identifier.
    void Load(const QString& languagesFolder, const QString& languageFileSetting, int uiLanguageId);

    QString Translate(const QString& english) const override;

    QString LanguageName() const { return name_; }  // empty when English
    QStringList LanguageFiles() const { return files_; }
    QStringList Lines() const { return lines_; }

    // The text after the first "}" of the first line starting with "{key}",
    // even when empty; the key itself when no line matches.
    static QString CreditLookup(const QStringList& lines, const QString& key);
    // Reads a language file's lines as UTF-8; an unreadable file has none.
    static QStringList ReadLines(const QString& path);

private:
    QString name_;
    QStringList files_;
    QStringList lines_;
    QHash<QString, QString> first_;  // key -> translation of its first line
};

// Writes "LanguageFile" and rewrites the settings file at once.
bool SetLanguageFile(Settings& settings, const QString& fileName);

}  // namespace lexicrawl
