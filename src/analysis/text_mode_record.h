#pragma once
// How a crawl read its words, kept in the project: the text mode with its
// options, and for the prose reading the text it skipped because no
// dictionary reads its language. Only a prose crawl writes the record, in
// tables of its own that it adds with CREATE TABLE IF NOT EXISTS: the tables
// of the template stay as they are, so projects open in every version, and a
// project without the record was read with the standard reading.
//
// Thread-safety: stateless; the database serialises the statements.
#include <QString>
#include <QStringList>

#include <vector>

#include "crawl/text_options.h"

namespace lexicrawl {

class ProjectDatabase;

// Text of a language no dictionary reads, over the whole crawl.
struct SkippedLanguage {
    QString language;  // as LanguageWords::language holds it
    qint64 pages = 0;  // page recordings that had text in it
    qint64 words = 0;  // distinct words per page, summed over the pages
};

struct TextModeRecord {
    TextOptions options;
    std::vector<SkippedLanguage> skipped;  // most words first
};

namespace text_mode_record {

// The statements that begin a prose crawl's record, in order.
QStringList BeginStatements(const TextOptions& options);
// One page's text in a language without a dictionary.
QString SkippedTextInsert(const QString& url, const QString& language, qsizetype words);

}  // namespace text_mode_record

// Reads the record of the project's crawl (the standard reading when there
// is none). Throws DatabaseError.
TextModeRecord ReadTextModeRecord(ProjectDatabase& database);

}  // namespace lexicrawl
