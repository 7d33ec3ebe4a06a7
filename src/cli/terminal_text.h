#pragma once
// Text that came from outside (a page, a server's answer, a project file)
// made safe to print on a terminal: a control character in it could move
// the cursor, clear the screen or set the window's title.
//
// Thread-safety: a pure function; safe from any thread.
#include <QString>

namespace lexicrawl::cli {

// text with every control character (U+0000 to U+001F, U+007F and U+0080 to
// U+009F) written as \t, \n, \r or \xHH; every other character unchanged.
QString TerminalSafe(const QString& text);

}  // namespace lexicrawl::cli
