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

}  // namespace lexicrawl
