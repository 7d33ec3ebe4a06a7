#pragma once
// Finds the links of one page by a plain text search for anchor tags (not an
// HTML parser): the href, the follow kind from rel, and the anchor text, in
// document order, compared without regard to the case of ASCII letters.
//
// Thread-safety: pure functions over their arguments; any thread.
#include <QString>

#include <atomic>
#include <functional>

namespace lexicrawl {

// Receives one link as found: link, source page (empty for a mail link),
// follow kind ("dofollow", "NOFOLLOW", "SPONSORED", "UGC") and anchor text.
using LinkSink = std::function<void(const QString& link, const QString& source, const QString& rel,
                                    const QString& anchor)>;

// Scans html (CR LF line breaks) of the page at sourcelink in two passes, for
// "<a " and then for "<a" CR, and hands every link found to sink. A set
// stopRequested ends the current pass at its next test. Runs in time linear
// in the length of html plus the length of the anchor texts handed on.
void ScanAnchors(const QString& html, const QString& sourcelink, const LinkSink& sink,
                 const std::atomic<bool>* stopRequested = nullptr);

// Decodes "&amp;", "&lt;", "&gt;", "&quot;" and numeric references ("&#"
// decimal, or hexadecimal after x, X or $, up to ";" or the end of the text).
// Any other "&", and a numeric reference that does not convert to a
// character other than U+0000, is copied unchanged.
QString DecodeHtmlReferences(const QString& text);

}  // namespace lexicrawl
