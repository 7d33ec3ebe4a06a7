#pragma once
// The locale texts of dictionary packages ("en-US") mapped to Windows
// language identifiers, through a fixed table that keeps its historic
// duplicates and odd codes.
#include <QString>

#include <cstdint>

namespace lexicrawl {

// Whole text first, then its first two characters, against the table in
// order (A-Z case ignored); 0x0409 when nothing matches.
uint16_t LocaleToLangID(const QString& locale);

}  // namespace lexicrawl
