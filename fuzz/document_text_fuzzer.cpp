// Feeds arbitrary bytes to the document readers as a PDF and as ODT and
// DOCX archives: each must come back with a status, a bounded number of
// pages, and never a crash or a read outside the data.
#include <cstddef>
#include <cstdint>

#include "analysis/document_text.h"
#include "fuzz_input.h"
#include "silent_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lexicrawl;
    fuzz::InstallSilentPlatform();
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    DocumentLimits limits;
    limits.maxPages = 50;
    limits.maxMilliseconds = 2000;
    for (const DocumentKind kind : {DocumentKind::Pdf, DocumentKind::Odt, DocumentKind::Docx}) {
        const DocumentText text = ReadDocumentText(body, kind, limits);
        FUZZ_CHECK(text.pages.size() <= limits.maxPages);
        FUZZ_CHECK(text.status != DocumentStatus::Read || !text.pages.isEmpty());
        FUZZ_CHECK(text.kind == kind);
    }
    DocumentKindOfAnswer(QString::fromLatin1(body.left(32)), body, body.left(64));
    return 0;
}
