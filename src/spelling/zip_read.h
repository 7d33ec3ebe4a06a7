#pragma once
// Reads the members of a ZIP archive without unpacking it: the file is mapped
// read-only, the central directory is walked once, and each member is
// decompressed on demand (stored and raw-DEFLATE members, CRC-32 checked).
// Every offset and length taken from the archive is checked against the data,
// so a damaged or hostile archive ends in a message and no members, never in
// a read outside the mapping.
//
// Thread-safety: none; use one reader from one thread.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace lexicrawl {

class MappedFile;

// One usable member. The pointers lead into the reader's data and are valid
// as long as the reader lives. Method, sizes, CRC and time come from the
// member's local header.
struct ZipEntry {
    const uint8_t* info = nullptr;  // local header, just past its signature
    const uint8_t* data = nullptr;  // the stored bytes
    char Name[120] = {};            // first 118 bytes of the name, '/' as '\', zero-ended
    uint16_t method = 0;
    uint16_t modTime = 0;
    uint16_t modDate = 0;
    uint32_t crc32 = 0;
    uint32_t zipSize = 0;
    uint32_t fullSize = 0;
};

class ZipRead {
public:
    // What one archive may cost. A member is usable only when its
    // uncompressed size is at most MaxMemberBytes (the largest dictionary
    // file known is a few tens of MB), and the members of one archive may
    // add up to at most MaxArchiveBytes uncompressed: members past that
    // budget are left out, as members of an unsupported method are. So a
    // small hostile archive (say, thousands of directory records that all
    // point at one member claiming a thousandfold expansion) costs at most
    // MaxMemberBytes at a time and MaxArchiveBytes in all, however it is read.
    static constexpr uint32_t MaxMemberBytes = 64u * 1024 * 1024;
    static constexpr uint64_t MaxArchiveBytes = 256ull * 1024 * 1024;

    // Maps the file and reads its directory. size 0 means the whole file.
    ZipRead(const QString& fileName, int32_t zipStartOffset = 0, int32_t size = 0,
            bool showMessageBoxOnError = true);
    // Reads ZIP data held by the caller; the bytes must outlive the reader.
    ZipRead(const uint8_t* bufZip, int64_t size);
    ~ZipRead();
    ZipRead(const ZipRead&) = delete;
    ZipRead& operator=(const ZipRead&) = delete;

    int Count() const { return int(entries_.size()); }
    const ZipEntry& Entry(int index) const { return entries_[std::size_t(index)]; }
    int32_t ZipStartOffset() const { return zipStartOffset_; }

    // Index of the first member whose name equals wanted, a-z compared
    // without regard to case; -1 when none.
    int NameToIndex(const QByteArray& wanted) const;
    // The member's bytes; empty (after the "CRC" message) when they fail
    // their size or CRC check.
    QByteArray UnZip(int index) const;
    // The bytes before the ZIP data of a self-extracting file.
    QByteArray GetInitialExeContent() const;
    void Close();

private:
    bool ReadDirectory(const uint8_t* data, std::size_t size);
    bool ReadCentralRecords(const uint8_t* data, std::size_t size, std::size_t offset,
                            unsigned total);
    bool Inflate(const ZipEntry& e, char* out) const;
    void FormatError();

    std::unique_ptr<MappedFile> file_;
    const uint8_t* buf_ = nullptr;  // start of the file (or of the caller's data)
    int32_t zipStartOffset_ = 0;
    std::vector<ZipEntry> entries_;
};

// The zlib library in use ("1.2.13").
QString ZlibVersion();

}  // namespace lexicrawl
