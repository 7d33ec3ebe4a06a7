#pragma once
// Loading the shipped English dictionary for the spelling benchmarks.
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
// The stems of the package's first spell dictionary's word list.
QStringList PackageStems(const QString& package);
QString DefaultPackage();

}  // namespace lexicrawl::bench
