#pragma once
// Bounds on what a page may cost the HTML parser, applied to its source
// before the parser sees it: how deep elements nest, and how long one run of
// text is.
//
// The HTML parser spends time proportional to the depth of the open elements
// on each block start tag (it looks down the whole stack for a paragraph to
// close), so a page of 100,000 nested divs costs it the square of that. A
// browser stops nesting at a few hundred levels as well. So a start tag that
// would open an element deeper than the bound is left out, with its end tag;
// everything between them stays, text included. Headings, tables, lists of
// options, foreign content and the document's own elements are never left
// out, nor is anything inside a comment or a script, style or other raw-text
// element. The depth is counted by a single linear scan that knows void
// elements and the elements that close their own kind (p, li, dt, dd, td, th,
// tr, option), so it never counts less than the parser nests.
//
// The parser also gathers each run of text in one buffer that grows by
// doubling and is then copied, so a page of 50 MB of text would cost it three
// times that at once. A run of text longer than kTextRunBytes is therefore
// cut into pieces by empty comments ("<!---->"), placed after white space or
// between two letters or digits that are no part of a character reference:
// the pieces render as the run did.
//
// Thread-safety: a pure function; any thread.
#include <QByteArray>
#include <QStringView>

namespace lexicrawl::html {

constexpr int kMaxNestingDepth = 512;
constexpr int kTextRunBytes = 32 * 1024;

// The source as the parser reads it: UTF-8 (lone surrogates as U+FFFD),
// without the start and end tags of elements nested deeper than maxDepth and
// with long text runs cut. Made in one pass, without a copy in between.
QByteArray BoundParserInput(QStringView source, int maxDepth = kMaxNestingDepth);

}  // namespace lexicrawl::html
