// Feeds arbitrary bytes to the sitemap reader, as they come and wrapped in
// gzip, so that the XML, text and inflating paths all see them: the reader
// must return within its bounds, and never crash or read outside the data.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <zlib.h>

#include "crawl/sitemap_reader.h"
#include "fuzz_input.h"

namespace {

// Gzip with the smallest window and state zlib allows, so that each run
// does not clear the hundreds of KiB a default compressor sets up.
QByteArray Gzip(const QByteArray& data)
{
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, 16 + 9, 1, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray();
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

void Check(const lexicrawl::SitemapContent& content)
{
    using namespace lexicrawl;
    FUZZ_CHECK(content.pages.size() + content.sitemaps.size() <= kMaxSitemapUrls);
    for (const QString& url : content.pages)
        FUZZ_CHECK(!url.isEmpty());
    for (const QString& url : content.sitemaps)
        FUZZ_CHECK(!url.isEmpty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lexicrawl;
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const SitemapContent plain = ReadSitemap(body);
    Check(plain);

    // The same bytes compressed read as they do plain; cut short anywhere,
    // they say the data is damaged and read a part of what the whole file
    // gives (never half a URL).
    const QByteArray packed = Gzip(body);
    if (!packed.isEmpty() && !(size >= 2 && data[0] == 0x1f && data[1] == 0x8b)) {
        const SitemapContent unpacked = ReadSitemap(packed);
        Check(unpacked);
        FUZZ_CHECK(unpacked.pages == plain.pages && unpacked.sitemaps == plain.sitemaps);
        FUZZ_CHECK(unpacked.warning == plain.warning);
        const qsizetype chosen = size > 0 ? packed.size() * data[size - 1] / 256 : 0;
        for (const qsizetype at : {packed.size() - 1, std::max<qsizetype>(2, chosen)}) {
            const SitemapContent cut = ReadSitemap(packed.left(at));
            Check(cut);
            FUZZ_CHECK(!cut.warning.isEmpty());
            // Of a whole file only: the XML reader decodes ahead, so a bad
            // byte late in a file can fail it from the start.
            if (plain.warning.isEmpty()) {
                FUZZ_CHECK(cut.pages == plain.pages.mid(0, cut.pages.size()));
                FUZZ_CHECK(cut.sitemaps == plain.sitemaps.mid(0, cut.sitemaps.size()));
            }
        }
    }
    QByteArray inflated;
    InflateGzip(body, 1 << 20, &inflated);
    FUZZ_CHECK(inflated.size() <= (1 << 20));
    return 0;
}
