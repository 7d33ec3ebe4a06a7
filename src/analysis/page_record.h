#pragma once
// What the recorder writes for one page, read from its source in one parse.
// Reading it is the costly part of a recording (parsing, rendering), and it
// needs neither the dictionary nor the database, so a caller may read it on
// any thread and hand it to the recorder's thread.
//
// Thread-safety: ExtractPageRecord is stateless and safe from any thread.
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "analysis/document_text.h"
#include "analysis/prose_reader.h"
#include "analysis/repeated_words.h"
#include "crawl/text_options.h"

namespace lexicrawl {

struct PageRecord {
    QString title;         // as written between the title tags
    QString description;   // META description, CR LF pairs flattened
    QStringList h1Lines;   // lines of the H1 headings, blank ones included
    QStringList h2Lines;
    QStringList words;     // distinct words of the readable text, in no set order (standard reading)
    std::vector<LanguageWords> proseWords;  // the prose words by language (prose reading)
    QString text;          // the readable text, for the contexts of unknown words (empty for a very large page)
    std::vector<RepeatedWord> repeatedWords;  // words written twice in a row (none for a very large page)
    // A linked document rather than a page: what it is and how its reading went.
    std::optional<DocumentFacts> document;
    QStringList documentPages;  // a PDF's text page by page, for the contexts (text is then empty)
    // The distinct words of text, when a reader thread has split it already
    // (a prose reading that keeps the site's word counts); else unset.
    std::optional<QStringList> textWords;
};

// Splits the record's text into its distinct words where the site's word
// counts need them (a prose reading with wordEvidence), so that the
// recording thread need not: the costly part runs with the reading.
void SplitTextWords(PageRecord& record, const TextOptions& text);

// Reads words with the reading the options choose: words for the standard
// one, proseWords for the prose one; the other stays empty.
PageRecord ExtractPageRecord(const QString& source, const TextOptions& text = {});

}  // namespace lexicrawl
