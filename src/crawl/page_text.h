#pragma once
// The line-end form in which the fetcher hands out page text.
//
// Thread-safety: stateless; any thread.
#include <QString>

namespace lexicrawl {

// text cut at its first NUL, with every CR LF, lone CR and lone LF made a
// CR LF, and a CR LF after the last line too; empty text stays empty.
QString NormalisePageText(QString text);

}  // namespace lexicrawl
