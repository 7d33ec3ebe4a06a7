#pragma once
// The unknown-word list as the result views show it: each word with the
// number of page recordings that found it unknown, most frequent first.
//
// Thread-safety: stateless; the database serialises the query.
#include <QString>

#include <vector>

namespace lexicrawl {

class ProjectDatabase;

// One row of the list, as shown: the caption and the count text.
struct UnknownWordRow {
    QString word;
    QString count;
};

// The caption of a row whose word is NULL (not translated).
QString NotCheckedYetCaption();

QString UnknownWordListQuery();

// Runs the list's query. On failure answers false with the database's text
// in error (the caller shows it as a statement failure).
bool LoadUnknownWords(ProjectDatabase& database, std::vector<UnknownWordRow>& rows, QString* error = nullptr);

}  // namespace lexicrawl
