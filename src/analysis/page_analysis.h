#pragma once
// The readings of the page analysis window that are not page facts: the
// images of a page as a plain text search finds them, the readable text
// tidied for reading, and a word list cut by a set of word characters.
//
// Thread-safety: pure functions; any thread.
#include <QString>
#include <QStringList>

#include <vector>

namespace lexicrawl {

struct ImageRow {
    QString src;
    QString alt;
    QString title;
};

// Every "<img " tag (any case of A to Z) up to its ">", read twice: with
// double quotes, then with single quotes. Each reading that finds a quoted
// src gives a row with the alt and title quoted the same way; an attribute
// counts only after a space. So an image gives at most two rows, and one
// whose src is not quoted gives none.
std::vector<ImageRow> ListImages(const QString& source);

// Each line trimmed of spaces and control characters; empty lines at the
// start and the end dropped, and runs of empty lines inside kept as one.
QString TidyReadableText(const QString& text);

// The words of the text, line by line: a word is a longest run of the word
// characters (compared exactly), trimmed and A-Z lower-cased; each is kept
// once, and the list is sorted by the user's locale without regard to case.
QStringList WordListOf(const QString& text, const QString& wordCharacters);

}  // namespace lexicrawl
