// Choosing and applying the character set of a page body.
#include "crawl/charset_decoder.h"
#include "platform/escaped_bytes.h"
#include "crawl/meta_charset.h"
#include "crawl/text_body.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

namespace lexicrawl {
namespace {

struct ChoiceCase {
    const char* name;
    QByteArray contentType;
    QByteArray body;
    QByteArray charset;
};

TEST(FetcherCharsetTest, ChoosesTheDeclaredCharsetInOrderOfPrecedence)
{
    const std::vector<ChoiceCase> cases = {
        {"header", "text/html; charset=windows-1251", "<meta charset=utf-8>", "WINDOWS-1251"},
        {"header-quoted", "text/html;charset=\"KOI8-R\"", "", "KOI8-R"},
        {"header-latin1-reads-as-1252", "text/html; charset=ISO-8859-1", "", "WINDOWS-1252"},
        {"header-unknown-falls-to-meta", "text/html; charset=x-nonsense", "<meta charset=koi8-r>", "KOI8-R"},
        {"header-iconv-option-refused", "text/html; charset=UTF-8//TRANSLIT", "caf\xE9", "WINDOWS-1252"},
        {"utf8-bom-beats-header", "text/html; charset=koi8-r", "\xEF\xBB\xBFx", "UTF-8"},
        {"utf16le-bom", "", "\xFF\xFEx\0", "UTF-16LE"},
        {"utf16be-bom", "text/html", "\xFE\xFF\0x", "UTF-16BE"},
        {"meta-charset", "text/html", "<html><head><meta charset='shift_jis'>", "SHIFT_JIS"},
        {"meta-http-equiv", "text/html",
         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">", "WINDOWS-1250"},
        {"meta-without-type", "", "<meta charset=\"gb2312\">", "GBK"},
        {"meta-utf16-means-utf8", "text/html", "<meta charset=utf-16>", "UTF-8"},
        {"meta-in-comment-ignored", "text/html", "<!-- <meta charset=koi8-r> -->caf\xC3\xA9", "UTF-8"},
        {"meta-in-attribute-ignored", "text/html", "<div title='<meta charset=koi8-r>'>caf\xE9", "WINDOWS-1252"},
        {"meta-ignored-for-plain-text", "text/plain", "<meta charset=koi8-r>caf\xE9", "WINDOWS-1252"},
        {"xml-declaration", "application/xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><a/>", "ISO-8859-2"},
        {"none-valid-utf8", "text/html", "caf\xC3\xA9", "UTF-8"},
        {"none-invalid-utf8", "text/html", "caf\xE9", "WINDOWS-1252"},
        {"none-truncated-utf8", "text/html", "caf\xC3", "WINDOWS-1252"},
        {"none-empty", "", "", "UTF-8"},
    };
    for (const ChoiceCase& c : cases)
        EXPECT_EQ(ChoosePageCharset(c.body, c.contentType), c.charset) << c.name;
}

TEST(FetcherCharsetTest, MetaBeyondThePrescanWindowIsNotSeen)
{
    const QByteArray body = QByteArray(5000, ' ') + "<meta charset=koi8-r>";
    EXPECT_EQ(ChoosePageCharset(body, "text/html"), QByteArray("UTF-8"));
}

struct DecodeCase {
    const char* name;
    QByteArray contentType;
    QByteArray body;
    QString text;
};

TEST(FetcherCharsetTest, DecodesWithTheChosenCharset)
{
    const std::vector<DecodeCase> cases = {
        {"latin1-as-1252", "text/html; charset=iso-8859-1", "\x92 caf\xE9", QStringLiteral(u"’ café")},
        {"windows-1251", "text/html; charset=windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2", QStringLiteral(u"Привет")},
        {"bom-stripped", "", "\xEF\xBB\xBFok", QStringLiteral(u"ok")},
        {"utf16le", "", QByteArray("\xFF\xFEh\0i\0", 6), QStringLiteral(u"hi")},
        {"utf16be-surrogates", "", QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6), QStringLiteral(u"😀")},
        // Undecodable bytes stay as their escapes (lone surrogates U+DC80..U+DCFF).
        {"invalid-utf8-declared", "text/html; charset=utf-8", "a\xFF" "b", u"a"_qs + EscapedByte(0xFF) + u"b"_qs},
        {"invalid-shift-jis-byte", "text/html; charset=shift_jis", "a\x80" "b", u"a"_qs + EscapedByte(0x80) + u"b"_qs},
        {"cut-off-multibyte", "text/html; charset=euc-jp", "a\xA4", u"a"_qs + EscapedByte(0xA4)},
        {"stateful-iso-2022-jp", "text/html; charset=iso-2022-jp", "\x1B$B$\"\x1B(Bx", QStringLiteral(u"あx")},
        {"odd-utf16-byte", "", QByteArray("\xFF\xFEh\0i", 5), QStringLiteral(u"h\uFFFD")},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(DecodePageBody(c.body, c.contentType), c.text) << c.name;
}

// A body is read as a page only when it is text: by its declared type, or
// by its first bytes when it declares none (or an unspecific one).
TEST(FetcherCharsetTest, BinaryBodiesAreNotText)
{
    const QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    const QByteArray utf16("\xFF\xFEh\0i\0", 6);
    const struct {
        const char* name;
        QByteArray contentType;
        QByteArray body;
        bool text;
    } cases[] = {
        {"html", "", "<p>hello</p>", true},
        {"png-untyped", "", png, false},
        {"png-octet-stream", "application/octet-stream", png, false},
        {"pdf-untyped", "", "%PDF-1.7\n%\xE2\xE3", false},
        {"zip-untyped", "", "PK\x03\x04rest", false},
        {"control-bytes", "", QByteArray("text\x01more", 9), false},
        {"nul-in-untyped", "", QByteArray("<p>a\0b</p>", 10), false},
        {"nul-in-html", "text/html", QByteArray("<p>a\0b</p>", 10), true},
        {"utf16-with-mark", "", utf16, true},
        {"image-type", "image/png; q=1", "<p>looks like text</p>", false},
        {"json", "application/json", "{}", true},
        {"svg", "image/svg+xml", "<svg/>", true},
        {"html-as-octet-stream", "application/octet-stream", "<html>fine</html>", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTextBody(c.body, c.contentType), c.text) << c.name;
}

TEST(FetcherCharsetTest, LargeSingleByteBodyDecodesWhole)
{
    const QByteArray body = QByteArray(300'000, '\xE9');
    const QString text = DecodePageBody(body, "text/html; charset=windows-1252");
    ASSERT_EQ(text.size(), body.size());
    EXPECT_EQ(text.count(QChar(u'é')), body.size());
}

TEST(FetcherCharsetTest, HeaderTextIsUtf8WithItsOtherBytesKept)
{
    EXPECT_EQ(DecodeHeaderText("/caf\xC3\xA9"), QStringLiteral(u"/café"));
    EXPECT_EQ(DecodeHeaderText("/caf\xE9"), u"/caf"_qs + EscapedByte(0xE9));
}

// Whatever the bytes of a body declared as UTF-8, the decoded text gives them
// back exactly: the page's links are requested with the bytes it holds.
TEST(FetcherCharsetTest, Utf8BodyBytesSurviveDecoding)
{
    const QByteArray cases[] = {
        "plain ascii", "caf\xC3\xA9 and caf\xE9", "\xED\xA0\x80 encoded surrogate", "\xC0\xAF overlong",
        "\xF4\x90\x80\x80 beyond U+10FFFF", "cut \xE2\x82", "\x80\x80\xFF\xFE", "\xF0\x9F\x98\x80 emoji",
    };
    for (const QByteArray& body : cases) {
        const QString text = DecodePageBody(body, "text/html; charset=utf-8");
        EXPECT_EQ(EncodeUtf8KeepingBytes(text), body) << body.toHex().toStdString();
        EXPECT_EQ(QString::fromUtf8(EncodeUtf8Replacing(text)), ReplaceEscapedBytes(text)) << body.toHex().toStdString();
    }
}

TEST(FetcherMetaCharsetTest, ReadsTheContentTypeParameter)
{
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"text/html; charset=UTF-8", "UTF-8"},
        {"text/html;CHARSET = 'latin1' ", "latin1"},
        {"text/html; format=flowed; charset=\"koi8-r\"", "koi8-r"},
        {"text/html", ""},
        {"text/html; charset=", ""},
    };
    for (const auto& [type, charset] : cases)
        EXPECT_EQ(CharsetParameter(type), charset) << type.constData();
}

TEST(FetcherMetaCharsetTest, FindsTheFirstDeclaringMeta)
{
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"<meta name=viewport content='width=device-width'><meta charset=utf-8>", "utf-8"},
        {"<meta/charset=koi8-r>", "koi8-r"},
        {"<meta content=\"text/html;charset = 'big5'\" http-equiv=content-type>", "big5"},
        {"<meta http-equiv=refresh content=\"0; charset=koi8-r\">", ""},
        {"<!--> <meta charset=a1> -->", "a1"},
        {"<metadata charset=koi8-r>", ""},
        {"<meta charset=\"unterminated", "unterminated"},
    };
    for (const auto& [head, charset] : cases)
        EXPECT_EQ(MetaCharset(head), charset) << head.constData();
}

}  // namespace
}  // namespace lexicrawl
