#pragma once
// Where an unknown word stands on a page: the sentence around its first
// occurrence (or a window of about 100 characters when the sentence is
// longer), with the word as it was written, and the part of the page it
// stood in. Kept with the crawl in a table of its own (made when first
// needed), so that an opened project shows it too.
//
// Thread-safety: the functions are stateless; the database serialises the
// statements.
#include <QString>
#include <QStringList>

#include <vector>

namespace lexicrawl {

class ProjectDatabase;
struct PageRecord;

// The parts of a page, in the order they are searched.
enum class WordPlace { Title, Description, Heading, Body };

QString WordPlaceName(WordPlace place);  // "title", "description", "heading", "body"

struct WordContext {
    QString url;
    QString word;        // as the word list writes it (A-Z lower-cased)
    WordPlace place = WordPlace::Body;
    QString before;      // the text before the word, from the sentence's start
    QString marked;      // the word as it stands on the page
    QString after;
    int documentPage = 0;  // the page of a PDF it stands on (1 for the first); 0 on a web page
    QString Text() const { return before + marked + after; }
};

// Where the context stands, in English: "page 3" for a PDF's page, else the
// place's name.
QString WordPlaceText(const WordContext& context);

// The first occurrence of each word on the page (title, description, then
// the readable text, whose heading lines count as headings). A word found
// nowhere gets no context.
std::vector<WordContext> FindWordContexts(const QString& url, const PageRecord& record, const QStringList& words);

// The same for a document read page by page (a PDF): each word's first
// occurrence, with the number of the page it stands on.
std::vector<WordContext> FindDocumentContexts(const QString& url, const QStringList& pages, const QStringList& words);

// Writes the contexts of one page (creating the table when needed); throws
// DatabaseError.
void WriteWordContexts(ProjectDatabase& database, const std::vector<WordContext>& contexts);

// Every stored context of the word, in row order; none when the project has
// no such table. Throws DatabaseError.
std::vector<WordContext> LoadWordContexts(ProjectDatabase& database, const QString& word);
// Every stored context, in row order.
std::vector<WordContext> LoadAllWordContexts(ProjectDatabase& database);

// Whether the project holds the table.
bool HasTable(ProjectDatabase& database, const QString& table);

}  // namespace lexicrawl
