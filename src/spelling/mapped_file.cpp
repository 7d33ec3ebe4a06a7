#include "spelling/mapped_file.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexicrawl {

MappedFile::MappedFile(const QString& path)
{
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    state_ = State::NotMapped;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0)
        return;
    void* p = ::mmap(nullptr, std::size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (p == MAP_FAILED)
        return;
    data_ = static_cast<const uint8_t*>(p);
    size_ = std::size_t(st.st_size);
    state_ = State::Mapped;
}

MappedFile::~MappedFile()
{
    Close();
}

void MappedFile::Close()
{
    if (data_)
        ::munmap(const_cast<uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

}  // namespace lexicrawl
