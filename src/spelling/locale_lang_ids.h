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

// The two-letter language of an identifier ("de" for 0x0407 and 0x0807):
// that of the table's first locale with the same primary language; empty
// when the table has none.
QString LanguageCodeOf(uint16_t langId);

}  // namespace lexicrawl
