#include "spelling/zip_read.h"


#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "platform/user_message.h"
#include "spelling/mapped_file.h"

namespace lexicrawl {

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralRecordSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxNameBytes = 118;
constexpr int kEndSearchPositions = 32;
// DEFLATE cannot expand data by more than about 1032:1; a header that claims
// more is damaged, and believing it would allocate gigabytes.
constexpr uint64_t kMaxDeflateRatio = 1032;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void ErrorBox(const QString& text)
{
    ReportMessage(UserMessage{QString(), text, MessageIcon::Error});
}

void CrcBox(const ZipEntry& e)
{
    ReportMessage(UserMessage{QString::fromUtf8(e.Name), QStringLiteral("CRC"), MessageIcon::None});
}

uint32_t Crc(const char* data, uint32_t size)
{
    return uint32_t(crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data), size));
}

bool SameNameAZ(const char* a, const QByteArray& b)
{
    const std::size_t n = std::strlen(a);
    if (n != std::size_t(b.size()))
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[qsizetype(i)];
        if (x >= 'A' && x <= 'Z') x = char(x + 32);
        if (y >= 'A' && y <= 'Z') y = char(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

ZipRead::ZipRead(const QString& fileName, int32_t zipStartOffset, int32_t size,
                 bool showMessageBoxOnError)
{
    file_ = std::make_unique<MappedFile>(fileName);
    if (file_->state() == MappedFile::State::NotOpened) {
        file_.reset();
        return;
    }
    if (file_->state() != MappedFile::State::Mapped) {
        Close();
        if (showMessageBoxOnError)
            ErrorBox(fileName);
        return;
    }
    buf_ = file_->data();
    // A size beyond the file would lead the walk outside the mapping.
    const int64_t fileSize = int64_t(file_->size());
    const int64_t total = (size <= 0 || size > fileSize) ? fileSize : size;
    const int64_t start = std::max<int64_t>(0, zipStartOffset);
    int64_t found = -1;
    for (int64_t pos = start; pos <= total - 5; ++pos) {
        const void* hit = std::memchr(buf_ + pos, 'P', std::size_t(total - 4 - pos));
        if (!hit)
            break;
        pos = static_cast<const uint8_t*>(hit) - buf_;
        if (pos > total - 5)
            break;
        if (U32(buf_ + pos) == kLocalSignature) {
            found = pos;
            break;
        }
    }
    if (found < 0) {
        Close();
        if (showMessageBoxOnError)
            ErrorBox(QStringLiteral("No ZIP found"));
        return;
    }
    zipStartOffset_ = int32_t(found);
    ReadDirectory(buf_ + found, std::size_t(total - found));
}

ZipRead::ZipRead(const uint8_t* bufZip, int64_t size)
{
    if (!bufZip || size <= 0) {
        FormatError();
        return;
    }
    buf_ = bufZip;
    ReadDirectory(bufZip, std::size_t(size));
}

ZipRead::~ZipRead() = default;

void ZipRead::Close()
{
    entries_.clear();
    buf_ = nullptr;
    file_.reset();
}

void ZipRead::FormatError()
{
    Close();
    ErrorBox(QStringLiteral("ZIP format"));
}

bool ZipRead::ReadDirectory(const uint8_t* data, std::size_t size)
{
    if (size < kEndRecordSize) {
        FormatError();
        return false;
    }
    std::size_t end = 0;
    bool found = false;
    for (int k = 0; k < kEndSearchPositions; ++k) {
        if (std::size_t(k) > size - kEndRecordSize)
            break;
        const std::size_t pos = size - kEndRecordSize - std::size_t(k);
        if (pos == 0 && size != kEndRecordSize)
            break;
        if (U32(data + pos) == kEndSignature) {
            end = pos;
            found = true;
            break;
        }
    }
    if (!found) {
        FormatError();
        return false;
    }
    const unsigned total = U16(data + end + 10);
    const std::size_t cdOffset = U32(data + end + 16);
    if (cdOffset > end + kEndRecordSize)
        return false;
    return ReadCentralRecords(data, size, cdOffset, total);
}

bool ZipRead::ReadCentralRecords(const uint8_t* data, std::size_t size, std::size_t offset,
                                 unsigned total)
{
    entries_.reserve(std::min<std::size_t>(total, size / kCentralRecordSize));
    uint64_t budget = MaxArchiveBytes;
    for (unsigned i = 0; i < total; ++i) {
        if (offset > size || size - offset < kCentralRecordSize
            || U32(data + offset) != kCentralSignature) {
            FormatError();
            return false;
        }
        const uint8_t* rec = data + offset;
        const std::size_t local = U32(rec + 42);
        if (local > size || size - local < kLocalHeaderSize) {
            FormatError();
            return false;
        }
        ZipEntry e;
        e.info = data + local + 4;
        const std::size_t nameLen = U16(e.info + 22);
        const std::size_t extraLen = U16(e.info + 24);
        const std::size_t dataStart = local + kLocalHeaderSize + nameLen + extraLen;
        if (dataStart > size) {
            FormatError();
            return false;
        }
        e.data = data + dataStart;
        e.method = U16(e.info + 4);
        e.modTime = U16(e.info + 6);
        e.modDate = U16(e.info + 8);
        e.crc32 = U32(e.info + 10);
        e.zipSize = U32(e.info + 14);
        e.fullSize = U32(e.info + 18);
        const std::size_t copied = std::min(nameLen, kMaxNameBytes);
        std::memcpy(e.Name, data + local + kLocalHeaderSize, copied);
        std::replace(e.Name, e.Name + copied, '/', '\\');
        e.Name[copied] = 0;
        offset += kCentralRecordSize + U16(rec + 28) + U16(rec + 30) + U16(rec + 32);
        const bool folder = copied > 0 && e.Name[copied - 1] == '\\';
        if ((e.method != 0 && e.method != 8) || folder)
            continue;
        const std::size_t stored = e.method == 0 ? e.fullSize : e.zipSize;
        if (stored > size - dataStart) {
            FormatError();
            return false;
        }
        if (e.fullSize > MaxMemberBytes || e.fullSize > budget)
            continue;
        budget -= e.fullSize;
        entries_.push_back(e);
    }
    return true;
}

int ZipRead::NameToIndex(const QByteArray& wanted) const
{
    if (wanted.isEmpty())
        return -1;
    for (int i = 0; i < Count(); ++i) {
        if (SameNameAZ(entries_[std::size_t(i)].Name, wanted))
            return i;
    }
    return -1;
}

bool ZipRead::Inflate(const ZipEntry& e, char* out) const
{
    if (uint64_t(e.fullSize) > uint64_t(e.zipSize) * kMaxDeflateRatio + 1024)
        return false;
    z_stream zs {};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
        return false;
    zs.next_in = const_cast<Bytef*>(e.data);
    zs.avail_in = e.zipSize;
    zs.next_out = reinterpret_cast<Bytef*>(out);
    zs.avail_out = e.fullSize;
    const int rc = inflate(&zs, Z_FINISH);
    const uLong produced = zs.total_out;
    inflateEnd(&zs);
    if (rc != Z_STREAM_END && rc != Z_OK && rc != Z_BUF_ERROR)
        return false;
    return produced == e.fullSize;
}

QByteArray ZipRead::UnZip(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    const ZipEntry& e = entries_[std::size_t(index)];
    QByteArray out;
    bool ok = false;
    if (e.method == 0) {
        out = QByteArray(reinterpret_cast<const char*>(e.data), qsizetype(e.fullSize));
        ok = true;
    } else if (uint64_t(e.fullSize) <= uint64_t(e.zipSize) * kMaxDeflateRatio + 1024) {
        out.resize(qsizetype(e.fullSize));
        ok = e.fullSize == 0 ? true : Inflate(e, out.data());
    }
    if (ok && Crc(out.constData(), e.fullSize) == e.crc32)
        return out;
    CrcBox(e);
    return {};
}

QByteArray ZipRead::GetInitialExeContent() const
{
    if (!buf_ || Count() == 0 || zipStartOffset_ <= 0)
        return {};
    return QByteArray(reinterpret_cast<const char*>(buf_), zipStartOffset_);
}

QString ZlibVersion()
{
    return QString::fromLatin1(zlibVersion());
}

}  // namespace lexicrawl
