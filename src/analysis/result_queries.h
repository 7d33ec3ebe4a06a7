#pragma once
// The queries behind the result panes: a page's stored facts (title,
// description, headings) and the pages on which a word was found unknown.
// Each answers what the database holds at the moment of the query.
//
// Thread-safety: stateless; the database serialises the queries, so they may
// run on any thread.
#include <QString>
#include <QStringList>

namespace lexicrawl {

class ProjectDatabase;

struct StoredPageFacts {
    QString title;        // of the last PAGES row of the URL
    QString description;
    QStringList h1;       // the TAGS values, in the order returned
    QStringList h2;
};

// Nothing is filled past the first failing query; error holds its text.
bool LoadStoredPageFacts(ProjectDatabase& database, const QString& url, StoredPageFacts& facts, QString* error);

// The URL of every MISSPELLED row of the word whose value is not blank, in
// the order returned (a page recorded twice is listed twice).
bool LoadWordSources(ProjectDatabase& database, const QString& word, QStringList& urls, QString* error);

}  // namespace lexicrawl
