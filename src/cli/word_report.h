#pragma once
// The unknown-word list as the command line prints it: each word with its
// occurrence (the number of page recordings that found it unknown) and the
// pages themselves, in the order of the unknown-word list.
#include <QString>
#include <QStringList>

#include <vector>

#include "cli/cli_options.h"

namespace lexicrawl {
class ProjectDatabase;
}

namespace lexicrawl::cli {

struct UnknownWord {
    QString word;
    QString occurrence;  // decimal, as the list shows it
    QStringList pages;   // one per MISSPELLED row, in row order
};

// Reads the list from the project database; throws DatabaseError.
std::vector<UnknownWord> LoadWordReport(ProjectDatabase& db);

// The list as text for standard output.
QString FormatUnknownWords(const std::vector<UnknownWord>& words, OutputFormat format);

}  // namespace lexicrawl::cli
