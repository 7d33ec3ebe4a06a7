#pragma once
// A read-only view of a whole file in memory. Closing happens in the
// destructor, so an early return never leaks the descriptor or the mapping.
//
// Thread-safety: an instance is owned by one thread; the mapped bytes may be
// read from any thread while the instance lives.
#include <QString>

#include <cstddef>
#include <cstdint>

namespace lexicrawl {

class MappedFile {
public:
    enum class State { NotOpened, NotMapped, Mapped };

    explicit MappedFile(const QString& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // NotOpened: the file could not be opened; NotMapped: it opened but could
    // not be mapped (an empty file, a folder, ...).
    State state() const { return state_; }
    const uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Releases the mapping and the descriptor at once.
    void Close();

private:
    int fd_ = -1;
    const uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    State state_ = State::NotOpened;
};

}  // namespace lexicrawl
