#pragma once
// Windows language identifiers (LANGID), which the settings, the language
// codes file and the dictionary packages use, mapped to POSIX locale names and
// to display names in the "Language (Region)" form.
#include <QString>

namespace lexicrawl {

// Display name of a language identifier, e.g. 0x0409 -> "English (United States)";
// empty for an identifier the table does not hold.
QString LanguageDisplayName(int langId);

// Identifier of a POSIX locale name such as "de_DE", "de_DE.UTF-8@euro",
// "pt-BR" or "tr": first the exact language and region, then the language's
// primary identifier. 0 when the language is unknown (and for "C"/"POSIX").
int LangIdForPosixLocale(const QString& locale);

}  // namespace lexicrawl
