#include "spelling/verdict_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace lexicrawl {

namespace {

constexpr char kMagic[] = "LXVRDCT1";
constexpr qsizetype kMagicSize = 8;
constexpr qsizetype kKeySize = 32;
constexpr qsizetype kSumSize = 32;
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

QByteArray Sum(const char* data, qsizetype size)
{
    return QCryptographicHash::hash(QByteArrayView(data, size), QCryptographicHash::Sha256);
}

// Reads the entries between header and checksum; false at the first one
// that does not fit.
bool ReadEntries(const QByteArray& body, qsizetype at, uint32_t count, std::vector<StoredVerdict>& out)
{
    out.reserve(std::min<size_t>(count, 1'000'000));
    for (uint32_t i = 0; i < count; ++i) {
        if (at + 7 > body.size())
            return false;
        const uchar known = uchar(body[at]);
        const uint32_t generation = qFromLittleEndian<quint32>(body.constData() + at + 1);
        const quint16 length = qFromLittleEndian<quint16>(body.constData() + at + 5);
        at += 7;
        if (known > 1 || length == 0 || at + length > body.size())
            return false;
        out.push_back({QString::fromUtf8(body.constData() + at, length), known == 1, generation});
        at += length;
    }
    return at == body.size();
}

}  // namespace

std::optional<std::vector<StoredVerdict>> ReadVerdictFile(const QString& path, const QByteArray& key)
{
    QFile file(path);
    if (key.size() != kKeySize || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return std::nullopt;
    const QByteArray data = file.readAll();
    if (data.size() < kMagicSize + kKeySize + 4 + kSumSize)
        return std::nullopt;
    const qsizetype bodySize = data.size() - kSumSize;
    if (data.left(kMagicSize) != kMagic || data.mid(kMagicSize, kKeySize) != key
        || Sum(data.constData(), bodySize) != data.right(kSumSize))
        return std::nullopt;
    const uint32_t count = qFromLittleEndian<quint32>(data.constData() + kMagicSize + kKeySize);
    std::vector<StoredVerdict> verdicts;
    if (!ReadEntries(data.left(bodySize), kMagicSize + kKeySize + 4, count, verdicts))
        return std::nullopt;
    return verdicts;
}

bool WriteVerdictFile(const QString& path, const QByteArray& key, const std::vector<StoredVerdict>& verdicts)
{
    if (key.size() != kKeySize)
        return false;
    QByteArray data(kMagic, kMagicSize);
    data += key;
    char number[4];
    qToLittleEndian<quint32>(quint32(verdicts.size()), number);
    data.append(number, 4);
    for (const StoredVerdict& v : verdicts) {
        const QByteArray word = v.word.toUtf8();
        if (word.isEmpty() || word.size() > 0xFFFF)
            return false;
        char entry[7];
        entry[0] = v.known ? 1 : 0;
        qToLittleEndian<quint32>(v.generation, entry + 1);
        qToLittleEndian<quint16>(quint16(word.size()), entry + 5);
        data.append(entry, 7);
        data += word;
    }
    data += Sum(data.constData(), data.size());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

}  // namespace lexicrawl
