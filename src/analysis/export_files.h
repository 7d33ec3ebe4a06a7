#pragma once
// The export files of the result lists, shared by the window's export
// commands and the command line: the internal URLs as CSV (with a header) or
// as a plain list of URLs, the unknown words as CSV (with a header) or as a
// plain list of words. Files are UTF-8 with a byte-order mark, every line
// ends with CR LF, CSV fields are joined by the user's list separator and
// written as they stand (no quoting). A file is written whole or not at all:
// it goes to a temporary file that replaces the target only when complete.
//
// Thread-safety: stateless; safe from any thread.
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

#include "analysis/unknown_word_list.h"

namespace lexicrawl {

// One entry of the table of internal URLs, its four texts as shown.
struct InternalUrlRow {
    QString page;      // the URL
    QString time;      // load time in seconds, empty before the fetch
    QString length;    // URL length
    QString response;  // status code, empty before the fetch
};

enum class ExportFormat { None, Csv, Text };

// The file name's extension from its last dot on, A to Z lower-cased
// (".csv"); empty when the name has no dot.
QString ExportExtension(const QString& fileName);
// ".csv" gives CSV and ".txt" plain text; any other extension writes nothing.
ExportFormat InternalUrlsExportFormat(const QString& fileName);
// ".csv" gives CSV; anything else the plain word list.
ExportFormat WordsExportFormat(const QString& fileName);

QStringList InternalUrlsCsvLines(const std::vector<InternalUrlRow>& rows, QChar separator);
QStringList InternalUrlsTextLines(const std::vector<InternalUrlRow>& rows);
QStringList WordsCsvLines(const std::vector<UnknownWordRow>& rows, QChar separator);
QStringList WordsTextLines(const std::vector<UnknownWordRow>& rows);

struct ExportResult {
    bool written = false;  // false with no error: the extension asks for no file
    QString error;         // why the file could not be written
    bool Failed() const { return !error.isEmpty(); }
};

// The byte-order mark and the lines, each followed by CR LF, replacing the
// file only once everything is written.
ExportResult WriteExportFile(const QString& fileName, const QStringList& lines);

// "Export Internal URLs...": the format follows the extension.
ExportResult ExportInternalUrls(const QString& fileName, const std::vector<InternalUrlRow>& rows, QChar separator);
// "Export Words...": the format follows the extension.
ExportResult ExportWords(const QString& fileName, const std::vector<UnknownWordRow>& rows, QChar separator);

}  // namespace lexicrawl
