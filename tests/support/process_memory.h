#pragma once
// The kernel's account of this process's memory, for tests and benchmarks
// that bound a peak (Linux /proc).
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstring>

namespace lexicrawl::testing {

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); 0 when unreadable.
inline long ResidentKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The largest resident size this process has had, in MiB.
inline long PeakMiB()
{
    return ResidentKb("VmHWM:") / 1024;
}

// Starts a new peak: the kernel's high-water mark falls to the present level.
inline void ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

}  // namespace lexicrawl::testing
