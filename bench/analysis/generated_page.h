#pragma once
// A documentation page made up for the benchmarks: navigation, headings,
// prose, inline code, tables, code blocks, lists, a script and a style.
#include <QString>

namespace lexicrawl::bench {

// A page of at least minimumBytes of UTF-8; the same for the same arguments.
QString GeneratedDocumentationPage(int minimumBytes, unsigned seed = 1);

}  // namespace lexicrawl::bench
