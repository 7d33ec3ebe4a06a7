#pragma once
// The file in which a dictionary's word verdicts outlive the program:
//
//   "LXVRDCT1"                      8 bytes
//   key                             32 bytes (the dictionary's verdict key)
//   count                           4 bytes, little-endian
//   count times: verdict (1 byte: 0 unknown, 1 known), generation (4 bytes),
//                length of the word in UTF-8 (2 bytes), the word
//   SHA-256 of everything above     32 bytes
//
// Thread-safety: pure functions; the file is replaced in one step.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace lexicrawl {

struct StoredVerdict {
    QString word;
    bool known = false;
    uint32_t generation = 0;
};

// The verdicts of a file written for key; nullopt when the file is absent,
// written for another key, damaged or cut short.
std::optional<std::vector<StoredVerdict>> ReadVerdictFile(const QString& path, const QByteArray& key);
// Writes the file in one step (a temporary file renamed over it); false
// when it could not be written (the old file then stays).
bool WriteVerdictFile(const QString& path, const QByteArray& key, const std::vector<StoredVerdict>& verdicts);

}  // namespace lexicrawl
