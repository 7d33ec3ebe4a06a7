#pragma once
// The translation lookup every translated caption and message passes through.
// The interface language is loaded once at start-up (see app/core/language.h)
// and installed here; afterwards it is only read, so lookups need no lock and
// may run on any thread.
#include <QString>

namespace lexicrawl {

class Translator {
public:
    virtual ~Translator() = default;
    // The translation of an English text, or the text itself.
    virtual QString Translate(const QString& english) const = 0;
};

// Installs t (not owned) as the process's translator; nullptr means English.
void SetTranslator(const Translator* t);

// Translation lookup: the loaded language's text for english, or english.
QString Tr(const QString& english);

}  // namespace lexicrawl
