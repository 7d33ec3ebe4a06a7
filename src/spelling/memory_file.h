#pragma once
// Bytes placed in an anonymous in-memory file, reachable by a path for
// libraries that only open files by name. Nothing is written to disk, and the
// file disappears with the object.
//
// Thread-safety: an instance belongs to one thread.
#include <QByteArray>

namespace lexicrawl {

class MemoryFile {
public:
    MemoryFile(const char* name, const QByteArray& bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    // "/proc/self/fd/N"; valid while the object lives.
    const QByteArray& Path() const { return path_; }

private:
    int fd_ = -1;
    QByteArray path_;
};

}  // namespace lexicrawl
