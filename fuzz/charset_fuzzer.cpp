// Feeds arbitrary answers to the body decoding of the fetcher: the sniffing
// of text, the choice of the character set (header, byte-order mark, META,
// XML declaration) and the decoding and line-end normalisation.
//
// Input: the Content-Type value up to the first LF (at most 200 bytes), then
// the body.
#include "crawl/charset_decoder.h"
#include "crawl/meta_charset.h"
#include "crawl/page_text.h"
#include "crawl/text_body.h"
#include "fuzz_input.h"
#include "platform/escaped_bytes.h"

using namespace lexicrawl;

namespace {

void CheckNormalised(const QString& text)
{
    FUZZ_CHECK(!text.contains(QChar(u'\0')));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == u'\n');
        if (text[i] == u'\n')
            FUZZ_CHECK(i > 0 && text[i - 1] == u'\r');
    }
    FUZZ_CHECK(text.isEmpty() || text.endsWith(QLatin1String("\r\n")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype lf = input.indexOf('\n');
    if (lf < 0 || lf > 200)
        lf = -1;
    const QByteArray contentType = lf < 0 ? QByteArray() : input.left(lf);
    const QByteArray body = lf < 0 ? input : input.mid(lf + 1);

    IsTextBody(body, contentType);
    const QByteArray charset = ChoosePageCharset(body, contentType);
    FUZZ_CHECK(!charset.isEmpty());
    const QString text = DecodePageBody(body, contentType);
    CheckNormalised(NormalisePageText(text));

    // A body read as UTF-8 keeps every byte it holds.
    const qsizetype bom = body.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (charset == "UTF-8")
        FUZZ_CHECK(EncodeUtf8KeepingBytes(text) == body.mid(bom));
    const QString utf8 = DecodePageBody(body, "text/html; charset=utf-8");
    if (!body.startsWith("\xFF\xFE") && !body.startsWith("\xFE\xFF"))
        FUZZ_CHECK(EncodeUtf8KeepingBytes(utf8) == body.mid(bom));
    // One character per byte in the single-byte set that pages fall back to.
    const QString western = DecodePageBody(body, "text/html; charset=windows-1252");
    if (bom == 0 && !body.startsWith("\xFF\xFE") && !body.startsWith("\xFE\xFF"))
        FUZZ_CHECK(western.size() == body.size());

    const QByteArray meta = MetaCharset(body.left(4096));
    FUZZ_CHECK(meta.isEmpty() || body.contains(meta) || body.toLower().contains(meta.toLower()));
    const QByteArray parameter = CharsetParameter(contentType);
    FUZZ_CHECK(parameter.isEmpty() || contentType.contains(parameter));
    XmlDeclaredEncoding(body.left(4096));

    const QString header = DecodeHeaderText(contentType);
    FUZZ_CHECK(EncodeUtf8KeepingBytes(header) == contentType);
    const QString url = PercentEncodeEscapedBytes(header);
    FUZZ_CHECK(url.isValidUtf16() || !header.isValidUtf16());
    return 0;
}
