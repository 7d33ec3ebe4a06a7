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

    bool Active() const { return FActive; }
    void SetActive(bool active) { FActive = active; }
    bool Loaded() const { return FLoaded; }
    QString DictionaryFileName() const { return FDictionaryFilename; }
    QString DisplayName() const { return FDisplayName; }
    uint16_t LangID() const { return FLangID; }
    QString LanguageName() const { return FLanguageName; }
    QString ID() const { return FID; }
    QString InternalFileID() const { return GetInternalFileID(); }
    QString Publisher() const { return FPublisher; }
    QString Version() const { return FVersion; }

    bool FActive = false;
    bool FLoaded = false;
    QString FDictionaryFilename;
    QString FID;
    QString FDisplayName;
    QString FVersion;
    QString FPublisher;
    uint16_t FLangID;
    QString FLanguageName;
    int32_t FRefCount = 0;

protected:
    // The package's file name without its folder.
    QString PackageFileName() const;
};

// Display name of a Windows language identifier, cut at 79 characters.
QString LangIDToLanguageName(uint16_t langId);

}  // namespace lexicrawl
