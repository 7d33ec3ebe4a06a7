#pragma once
// The text a reader sees on a page, and the distinct words in it.
//
// Thread-safety: stateless; safe from any thread.
#include <QString>

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

}  // namespace lexicrawl
