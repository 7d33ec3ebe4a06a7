#include "platform/scratch_files.h"

#include <QFile>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace lexicrawl {

namespace {

constexpr std::size_t kSlots = 64;
constexpr std::size_t kJournalSuffix = sizeof("-journal");  // with its NUL

// Each slot holds a path made with malloc, or null; a signal handler only
// reads them.
std::array<std::atomic<char*>, kSlots> g_slots{};

}  // namespace

void RegisterScratchFile(const QString& path)
{
    if (path.isEmpty())
        return;
    const QByteArray name = QFile::encodeName(path);
    char* copy = static_cast<char*>(std::malloc(size_t(name.size()) + 1));
    if (!copy)
        return;
    std::memcpy(copy, name.constData(), size_t(name.size()) + 1);
    for (std::atomic<char*>& slot : g_slots) {
        char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, copy))
            return;
    }
    std::free(copy);
}

void UnregisterScratchFile(const QString& path)
{
    if (path.isEmpty())
        return;
    const QByteArray name = QFile::encodeName(path);
    for (std::atomic<char*>& slot : g_slots) {
        char* held = slot.load();
        if (held && name == held && slot.compare_exchange_strong(held, nullptr)) {
            std::free(held);
            return;
        }
    }
}

void RemoveScratchFilesNow()
{
    char journal[4096];
    for (std::atomic<char*>& slot : g_slots) {
        const char* path = slot.load();
        if (!path)
            continue;
        unlink(path);
        const std::size_t length = std::strlen(path);
        if (length + kJournalSuffix <= sizeof journal) {
            std::memcpy(journal, path, length);
            std::memcpy(journal + length, "-journal", kJournalSuffix);
            unlink(journal);
        }
    }
}

}  // namespace lexicrawl
