#pragma once
// Loading shipped dictionaries for the spelling benchmarks.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

#include "spelling/dictionary_manager.h"

namespace lexicrawl::bench {

// A manager holding one loaded dictionary from package (null on failure).
struct LoadedDictionary {
    std::unique_ptr<DictionaryManager> manager;
    SpellDictionary* dictionary = nullptr;
};
LoadedDictionary LoadPackage(const QString& package);
// The affix and word-list members of the package's first spell dictionary.
struct DictionaryFiles {
    QByteArray affix;
    QByteArray words;
};
DictionaryFiles PackageFiles(const QString& package);
// The stems of the package's first spell dictionary's word list.
QStringList PackageStems(const QString& package);
QString DefaultPackage();
// The page words of every .html file under folder (each page's distinct
// words, as the recorder checks them), all pages together without repeats.
QStringList SitePageWords(const QString& folder);

}  // namespace lexicrawl::bench
