#pragma once
// Words the user has taken off the unknown-word list: approved for the site
// (kept in the project, in a table made when first needed), ignored (for
// this session, or from a word-list file given on the command line), and
// the user's own dictionary (a word-list file in the data folder, which the
// spelling engine is given too). The rows of MISSPELLED stay as the crawl
// wrote them; the list, its exports and the reports leave these words out
// and count them apart, so a word approved during a crawl is gone from the
// list at once and stays gone for the pages recorded after it.
//
// Thread-safety: WordApprovals takes its own lock in every member; the
// functions on the database rely on the store's lock.
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

#include "analysis/unknown_word_list.h"

namespace lexicrawl {

class ProjectDatabase;

enum class ApprovalKind { Site, Ignored, Personal };

class WordApprovals {
public:
    void Add(ApprovalKind kind, const QString& word);
    void AddAll(ApprovalKind kind, const QStringList& words);
    // Replaces the site's words (when another project is opened).
    void SetSite(const QStringList& words);
    QStringList Site() const;
    bool Contains(const QString& word) const;

private:
    QSet<QString>& Set(ApprovalKind kind);

    mutable QMutex mutex_;
    QSet<QString> site_, ignored_, personal_;
};

// Takes the approved words out of the list; answers how many there were.
qsizetype RemoveApproved(std::vector<UnknownWord>& words, const WordApprovals& approvals);

// The site's approved words stored in the project; none when it has no
// such table. Throws DatabaseError.
QStringList LoadSiteApprovals(ProjectDatabase& database);
// Stores words as approved for the site (those already there are kept
// once). Throws DatabaseError.
void StoreSiteApprovals(ProjectDatabase& database, const QStringList& words);

// A word-list file: one word per line (any line break, UTF-8, blank lines
// and surrounding white space ignored). A missing file is an empty list
// with no error; one that cannot be read answers false.
bool ReadWordListFile(const QString& path, QStringList& words, QString* error);
// Adds one line to the file (made when missing), CR LF ended.
bool AppendToWordListFile(const QString& path, const QString& word, QString* error);

}  // namespace lexicrawl
