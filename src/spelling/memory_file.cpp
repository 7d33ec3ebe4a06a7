#include "spelling/memory_file.h"

#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

namespace lexicrawl {

MemoryFile::MemoryFile(const char* name, const QByteArray& bytes)
{
    fd_ = ::memfd_create(name, MFD_CLOEXEC);
    if (fd_ < 0)
        return;
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t w = ::write(fd_, p, size_t(left));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        p += w;
        left -= w;
    }
    path_ = "/proc/self/fd/" + QByteArray::number(fd_);
}

MemoryFile::~MemoryFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace lexicrawl
