#pragma once
// A bound on how deep a page's elements nest before the parser sees them.
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
// Thread-safety: a pure function; any thread.
#include <QByteArray>

namespace lexicrawl::html {

constexpr int kMaxNestingDepth = 512;

// utf8 without the start and end tags of elements nested deeper than
// maxDepth; utf8 itself (shared, not copied) when nothing is that deep.
QByteArray LimitNesting(const QByteArray& utf8, int maxDepth = kMaxNestingDepth);

}  // namespace lexicrawl::html
