#include "platform/translation.h"

#include <atomic>

namespace lexicrawl {

namespace {
std::atomic<const Translator*> g_translator{nullptr};
}

void SetTranslator(const Translator* t)
{
    g_translator.store(t, std::memory_order_release);
}

QString Tr(const QString& english)
{
    const Translator* t = g_translator.load(std::memory_order_acquire);
    return t ? t->Translate(english) : english;
}

QString FormatS(const QString& pattern, const QString& value)
{
    QString out = pattern;
    const qsizetype at = out.indexOf(QLatin1String("%s"));
    if (at >= 0)
        out.replace(at, 2, value);
    return out;
}

}  // namespace lexicrawl
