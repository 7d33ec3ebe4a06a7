#pragma once
// Word verdicts kept between runs: each loaded spell dictionary keeps its
// verdicts in a file of one folder (the application's data folder), bound
// to a key made from its affix and word-list files, so that a second crawl
// of a site needs no suggestions at all and a changed dictionary starts
// afresh (verdict_store.h).
//
// Set the folder at start-up, before dictionaries are loaded. A dictionary
// writes its new verdicts when it is unloaded (also by its destructor).
//
// Thread-safety: the folder is guarded.
#include <QByteArray>
#include <QString>

namespace lexicrawl {

// The folder is created when missing; an empty folder keeps verdicts in
// memory only (the default).
void SetVerdictCacheFolder(const QString& folder);
QString VerdictCacheFolder();
// The key verdicts are bound to: the dictionary's files, the spelling
// library's version and how this program reads its suggestions.
QByteArray VerdictKey(const QByteArray& affix, const QByteArray& words);
// The file of the dictionary with this internal file ID in the folder.
QString VerdictFilePath(const QString& folder, const QString& internalFileId);

}  // namespace lexicrawl
