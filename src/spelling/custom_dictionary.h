#pragma once
// What every dictionary has, spell or hyphenation: the package it lives in,
// what the package says about it, its language, and whether it is wanted
// (Active) and has an engine (Loaded).
//
// Thread-safety: none; dictionaries are used from the main thread.
#include <QString>

#include <cstdint>

namespace lexicrawl {

class CustomDictionary {
public:
    CustomDictionary();
    virtual ~CustomDictionary();
    CustomDictionary(const CustomDictionary&) = delete;
    CustomDictionary& operator=(const CustomDictionary&) = delete;

    // Unique within the manager: package file name and member names.
    virtual QString GetInternalFileID() const;
    virtual bool Load();
    virtual void Unload();

    bool Active() const { return active; }
    void SetActive(bool on) { active = on; }
    bool Loaded() const { return loaded; }
    QString DictionaryFileName() const { return dictionaryFileName; }
    QString DisplayName() const { return displayName; }
    uint16_t LangID() const { return langId; }
    QString LanguageName() const { return languageName; }
    QString ID() const { return id; }
    QString InternalFileID() const { return GetInternalFileID(); }
    QString Publisher() const { return publisher; }
    QString Version() const { return version; }

    bool active = false;
    bool loaded = false;
    QString dictionaryFileName;
    QString id;
    QString displayName;
    QString version;
    QString publisher;
    uint16_t langId;
    QString languageName;
    int32_t refCount = 0;

protected:
    // The package's file name without its folder.
    QString PackageFileName() const;
};

// Display name of a Windows language identifier, cut at 79 characters.
QString LangIDToLanguageName(uint16_t langId);

}  // namespace lexicrawl
