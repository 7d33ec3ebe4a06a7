#pragma once
// The text a reader sees on a page, and the distinct words in it.
//
// Thread-safety: stateless; safe from any thread.
#include <QString>
#include <QStringList>
#include <QStringView>

#include "platform/text_hash.h"

namespace lexicrawl {

class RenderObserver;

// The rendered text of the page body (lines end with CR LF): everything after
// the first "</html>" dropped, the exact X-UA-Compatible META tag removed,
// soft hyphens removed from the result.
QString ExtractReadableText(const QString& source);
// The same, with observer following the rendering.
QString ExtractReadableText(const QString& source, RenderObserver* observer);

// The distinct words of a text, each followed by CR LF: runs of 0-9, A-Z,
// a-z and U+00C0..U+00FF, with A to Z lower-cased, sorted case-insensitively
// in the collation of the user's locale.
QString ExtractWords(const QString& text);
// The same words, unsorted: in the order they first appear.
QStringList DistinctWords(const QString& text);
// Sorts words as ExtractWords does.
void SortWords(QStringList& words);

// The distinct words of a text handed over in pieces, read as ExtractWords
// reads the whole (a word may run on from one piece into the next). With
// skipSoftHyphens, U+00AD is passed over as if it were not there, as the
// readable text drops it. Thread-safety: one collector per thread.
class WordCollector {
public:
    explicit WordCollector(bool skipSoftHyphens = false) : skipSoftHyphens_(skipSoftHyphens) {}
    void Add(QStringView piece);
    // The words, sorted, each followed by CR LF; ends the collection.
    QString Result();
    // The words in the order they first appeared; ends the collection.
    QStringList Words();

private:
    void EndWord();

    bool skipSoftHyphens_;
    QString word_;  // the word being read, lower-cased
    QStringList words_;
    TextSet seen_;
};

}  // namespace lexicrawl
