#pragma once
// Files the process made for itself and removes even when a signal ends it
// at once: the working copies of projects (and their rollback journals).
//
// Thread-safety: every function may be called from any thread;
// RemoveScratchFilesNow is also async-signal-safe.
#include <QString>

namespace lexicrawl {

// Remembers path (at most 64 at a time; more are not remembered).
void RegisterScratchFile(const QString& path);
void UnregisterScratchFile(const QString& path);

// Deletes every remembered file and its "-journal", from a signal handler
// that is about to end the process.
void RemoveScratchFilesNow();

}  // namespace lexicrawl
