#pragma once
// The export files of the result lists, shared by the window's export
// commands and the command line: the internal URLs as CSV (with a header) or
// as a plain list of URLs, the unknown words as CSV (with a header) or as a
// plain list of words. Files are UTF-8 with a byte-order mark, every line
// ends with CR LF, CSV fields are joined by the user's list separator; a
// field that holds the separator, a double quote, CR or LF is enclosed in
// double quotes with its quotes doubled, every other field is written as it
// stands, so that no value adds a column or a row. A file is written whole or not at all:
// it goes to a temporary file that replaces the target only when complete.
//
// Thread-safety: stateless; safe from any thread.
#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

#include "analysis/document_record.h"
#include "analysis/unknown_word_list.h"
#include "crawl/crawl_notes.h"
#include "crawl/internal_urls.h"

namespace lexicrawl {

enum class ExportFormat { None, Csv, Text };

// The file name's extension from its last dot on, A to Z lower-cased
// (".csv"); empty when the name has no dot.
QString ExportExtension(const QString& fileName);
// ".csv" gives CSV and ".txt" plain text; any other extension writes nothing.
ExportFormat InternalUrlsExportFormat(const QString& fileName);
// ".csv" gives CSV; anything else the plain word list.
ExportFormat WordsExportFormat(const QString& fileName);

// The entries' load times are written with decimalSeparator, the fields
// joined with listSeparator, as the list shows them.
// With notes (a page's note by its URL: found only in a sitemap, a
// document), the CSV has a fifth column, Note; without, the four it always had.
QStringList InternalUrlsCsvLines(const std::vector<InternalUrl>& rows, QChar decimalSeparator, QChar listSeparator,
                                 const QHash<QString, QString>& notes = {});
QStringList InternalUrlsTextLines(const std::vector<InternalUrl>& rows);
QStringList WordsCsvLines(const std::vector<UnknownWord>& rows, QChar listSeparator);
QStringList WordsTextLines(const std::vector<UnknownWord>& rows);

struct ExportResult {
    bool written = false;  // false with no error: the extension asks for no file
    QString error;         // why the file could not be written
    bool Failed() const { return !error.isEmpty(); }
};

// The byte-order mark and the lines, each followed by CR LF, replacing the
// file only once everything is written.
ExportResult WriteExportFile(const QString& fileName, const QStringList& lines);

// The notes of a crawl's pages for the export, free of list separators:
// "sitemap only (linked from nowhere)", "PDF document", "PDF document:
// encrypted document", ...
QHash<QString, QString> PageNotes(const CrawlNotes& notes, const std::vector<DocumentRow>& documents);

// "Export Internal URLs...": the format follows the extension; the notes go
// into the CSV only.
ExportResult ExportInternalUrls(const QString& fileName, const std::vector<InternalUrl>& rows, QChar decimalSeparator,
                                QChar listSeparator, const QHash<QString, QString>& notes = {});
// "Export Words...": the format follows the extension.
ExportResult ExportWords(const QString& fileName, const std::vector<UnknownWord>& rows, QChar listSeparator);

}  // namespace lexicrawl
