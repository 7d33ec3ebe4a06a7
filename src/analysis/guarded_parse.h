#pragma once
// The HTML parser behind a guard against its own assertions. The system's
// parser library is built with assertions on, and a few malformed pages make
// one fail; unguarded, that would abort the whole program in the middle of a
// crawl. While a guarded parse runs, an abort on its thread returns here
// instead, and the parse answers null; the caller's arena holds everything
// the abandoned parse had allocated.
//
// The guard is a process-wide SIGABRT handler, installed on first use, that
// acts only for a thread inside a guarded parse and otherwise hands the
// signal on to the handler it replaced.
//
// Thread-safety: safe from any thread; each thread's guard is its own.
#include <gumbo.h>

#include <cstddef>

namespace lexicrawl {

GumboOutput* ParseGuarded(const GumboOptions& options, const char* data, std::size_t size);

}  // namespace lexicrawl
