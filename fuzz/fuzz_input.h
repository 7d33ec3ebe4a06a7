#pragma once
// Small helpers shared by the fuzz targets: turning the fuzzer's bytes into
// texts and fields, and a check that reports a broken invariant as a crash.
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace lexicrawl::fuzz {

// A broken invariant: printed and turned into a crash the fuzzer keeps.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// The bytes as text. An even first byte reads the rest as UTF-8 (what a page
// becomes after decoding); an odd one as raw UTF-16, so that lone surrogates
// and every other code unit reach the code too.
inline QString TextOf(const uint8_t* data, size_t size)
{
    if (size == 0)
        return QString();
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const qsizetype n = qsizetype(size - 1);
    if ((data[0] & 1) == 0)
        return QString::fromUtf8(rest, n);
    return QString(reinterpret_cast<const QChar*>(rest), n / 2);
}

// The text split into fields at LF (the last field takes the rest).
inline QStringList Fields(const QString& text, int count)
{
    QStringList fields;
    qsizetype pos = 0;
    for (int i = 0; i < count - 1; ++i) {
        const qsizetype lf = text.indexOf(u'\n', pos);
        if (lf < 0) {
            fields << text.mid(pos);
            pos = text.size();
            continue;
        }
        fields << text.mid(pos, lf - pos);
        pos = lf + 1;
    }
    fields << text.mid(pos);
    return fields;
}

}  // namespace lexicrawl::fuzz
