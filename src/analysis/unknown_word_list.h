#pragma once
// The unknown-word list as the result views show it: each word with the
// number of page recordings that found it unknown, most frequent first, and
// on request the pages themselves.
//
// Thread-safety: stateless; the database serialises the queries.
#include <QString>
#include <QStringList>

#include <vector>

namespace lexicrawl {

class ProjectDatabase;

// One row of the list.
struct UnknownWord {
    QString word;          // the caption ("<Not Checked Yet>" for a NULL word)
    qint64 occurrence = 0; // MISSPELLED rows of the word: pages that had it unknown
    QStringList pages;     // one per MISSPELLED row with a non-blank URL, in row order (when asked for)
    // Prose projects: the forms of the word, differing only in case, that
    // the row stands for (the caption first); empty when it stands for one.
    QStringList forms;
};

// The caption of a row whose word is NULL (not translated).
QString NotCheckedYetCaption();

QString UnknownWordListQuery();

// Runs the list's query, and with pages one more pass over MISSPELLED for
// every word's pages. In a project crawled with the prose reading, the
// forms of a word that differ only in case make one row (see forms), with
// the most frequent form as its caption; its occurrence counts each page
// recording once. On failure answers false with the database's text in
// error (the caller shows it as a statement failure).
bool LoadUnknownWords(ProjectDatabase& database, std::vector<UnknownWord>& words, QString* error = nullptr,
                      bool withPages = false);

}  // namespace lexicrawl
