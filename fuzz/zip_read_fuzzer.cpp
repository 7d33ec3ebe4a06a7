// Feeds arbitrary bytes to the ZIP reader as archive data: the directory
// walk, every member's decompression and name lookups must stay inside the
// data, whatever it claims.
#include <cstddef>
#include <cstdint>

#include "silent_platform.h"
#include "spelling/zip_read.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lexicrawl::fuzz::InstallSilentPlatform();
    lexicrawl::ZipRead zip(data, int64_t(size));
    for (int i = 0; i < zip.Count(); ++i) {
        const QByteArray bytes = zip.UnZip(i);
        (void)bytes;
        zip.NameToIndex(QByteArray(zip.Entry(i).Name));
    }
    zip.NameToIndex("META-INF\\manifest.xml");
    zip.GetInitialExeContent();
    return 0;
}
