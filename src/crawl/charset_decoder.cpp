#include "crawl/charset_decoder.h"

#include "crawl/meta_charset.h"
#include "platform/escaped_bytes.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace lexicrawl {

namespace {

constexpr qsizetype PrescanBytes = 4096;
constexpr qsizetype MaxLabelLength = 40;

const QByteArray Utf8 = QByteArrayLiteral("UTF-8");
const QByteArray Windows1252 = QByteArrayLiteral("WINDOWS-1252");
const QByteArray Utf16Le = QByteArrayLiteral("UTF-16LE");
const QByteArray Utf16Be = QByteArrayLiteral("UTF-16BE");

// Labels that browsers read as a wider character set than their name says.
struct LabelAlias {
    const char* Label;
    const char* Charset;
};
const LabelAlias Aliases[] = {
    {"iso-8859-1", "WINDOWS-1252"},  {"iso8859-1", "WINDOWS-1252"},   {"iso_8859-1", "WINDOWS-1252"},
    {"latin1", "WINDOWS-1252"},      {"l1", "WINDOWS-1252"},          {"us-ascii", "WINDOWS-1252"},
    {"ascii", "WINDOWS-1252"},       {"cp819", "WINDOWS-1252"},       {"iso-8859-9", "WINDOWS-1254"},
    {"latin5", "WINDOWS-1254"},      {"iso-8859-11", "WINDOWS-874"},  {"tis-620", "WINDOWS-874"},
    {"gb2312", "GBK"},               {"x-gbk", "GBK"},                {"euc-kr", "CP949"},
    {"ks_c_5601-1987", "CP949"},     {"big5", "BIG5-HKSCS"},          {"x-sjis", "SHIFT_JIS"},
    {"utf8", "UTF-8"},               {"unicode-1-1-utf-8", "UTF-8"},  {"utf-16", "UTF-16LE"},
    {"unicode", "UTF-16LE"},         {"x-mac-roman", "MACINTOSH"},
};

bool IsLabelChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' ||
           c == '(' || c == ')' || c == '+';
}

// RAII for an iconv descriptor; invalid when the character set is unknown.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (IsValid())
            iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool IsValid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

// The iconv name for a declared label, or empty when the label is malformed
// or names a character set iconv does not have. Only plain labels pass:
// iconv would read suffixes such as "//TRANSLIT" as options.
QByteArray CharsetForLabel(const QByteArray& declared)
{
    const QByteArray label = declared.trimmed().toLower();
    if (label.isEmpty() || label.size() > MaxLabelLength)
        return {};
    for (const char c : label) {
        if (!IsLabelChar(c))
            return {};
    }
    for (const LabelAlias& alias : Aliases) {
        if (label == alias.Label)
            return alias.Charset;
    }
    const QByteArray name = label.toUpper();
    if (name == Utf8)
        return name;
    const IconvHandle probe("UTF-16LE", name.constData());
    return probe.IsValid() ? name : QByteArray();
}

qsizetype BomLength(const QByteArray& body, QByteArray* charset)
{
    if (body.startsWith("\xEF\xBB\xBF")) {
        *charset = Utf8;
        return 3;
    }
    if (body.startsWith("\xFF\xFE")) {
        *charset = Utf16Le;
        return 2;
    }
    if (body.startsWith("\xFE\xFF")) {
        *charset = Utf16Be;
        return 2;
    }
    return 0;
}

bool IsHtmlType(const QByteArray& mediaType)
{
    return mediaType.isEmpty() || mediaType == "text/html" || mediaType == "application/xhtml+xml";
}

bool IsXmlType(const QByteArray& mediaType)
{
    return mediaType.endsWith("/xml") || mediaType.endsWith("+xml");
}

QByteArray DeclaredInDocument(const QByteArray& body, const QByteArray& mediaType)
{
    const QByteArray head = body.left(PrescanBytes);
    QByteArray charset;
    if (IsXmlType(mediaType))
        charset = CharsetForLabel(XmlDeclaredEncoding(head));
    if (charset.isEmpty() && IsHtmlType(mediaType)) {
        charset = CharsetForLabel(MetaCharset(head));
        // A META that could be read as ASCII cannot be in UTF-16.
        if (charset == Utf16Le || charset == Utf16Be)
            charset = Utf8;
    }
    return charset;
}

// "text/html" of "Text/HTML; charset=utf-8".
QByteArray MediaTypeOf(const QByteArray& contentType)
{
    const qsizetype semicolon = contentType.indexOf(';');
    return (semicolon < 0 ? contentType : contentType.first(semicolon)).trimmed().toLower();
}

QByteArray DeclaredCharset(const QByteArray& body, const QByteArray& contentType)
{
    const QByteArray charset = CharsetForLabel(CharsetParameter(contentType));
    return charset.isEmpty() ? DeclaredInDocument(body, MediaTypeOf(contentType)) : charset;
}

bool DecodeUtf8(const char* data, qsizetype size, QString* text)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    *text = decoder.decode(QByteArrayView(data, size));
    return !decoder.hasError();
}

// Output buffer of an iconv conversion into UTF-16.
class Utf16Sink {
public:
    explicit Utf16Sink(qsizetype expected) : text_(expected + 16, Qt::Uninitialized) { Reset(0); }

    char** Cursor() { return &cursor_; }
    size_t* Room() { return &room_; }

    void Grow()
    {
        const qsizetype used = Used();
        text_.resize(text_.size() * 2);
        Reset(used);
    }

    // An undecodable byte: kept as its escape (bytes 0x80..0xFF) or, for a
    // byte that is plain ASCII, replaced.
    void AppendInvalidByte(unsigned char byte)
    {
        if (room_ < sizeof(char16_t))
            Grow();
        const char16_t mark = byte >= 0x80 ? EscapedByte(byte).unicode() : u'\uFFFD';
        std::memcpy(cursor_, &mark, sizeof mark);
        cursor_ += sizeof mark;
        room_ -= sizeof mark;
    }

    QString Take()
    {
        text_.truncate(Used());
        return std::move(text_);
    }

private:
    qsizetype Used() const { return (cursor_ - reinterpret_cast<const char*>(text_.constData())) / 2; }
    void Reset(qsizetype used)
    {
        cursor_ = reinterpret_cast<char*>(text_.data() + used);
        room_ = static_cast<size_t>(text_.size() - used) * sizeof(char16_t);
    }

    QString text_;
    char* cursor_ = nullptr;
    size_t room_ = 0;
};

// Converts with iconv into UTF-16; an invalid byte is kept as its escape and
// the conversion goes on after it.
QString DecodeWithIconv(iconv_t cd, const char* data, qsizetype size)
{
    Utf16Sink sink(size);
    char* in = const_cast<char*>(data);
    size_t inLeft = static_cast<size_t>(size);
    for (bool flushing = false;;) {
        const size_t rc = flushing ? iconv(cd, nullptr, nullptr, sink.Cursor(), sink.Room())
                                   : iconv(cd, &in, &inLeft, sink.Cursor(), sink.Room());
        if (rc == static_cast<size_t>(-1) && errno == E2BIG) {
            sink.Grow();
            continue;
        }
        if (rc == static_cast<size_t>(-1) && errno == EILSEQ && inLeft > 0) {
            sink.AppendInvalidByte(static_cast<unsigned char>(*in));
            ++in;
            --inLeft;
            continue;
        }
        // A sequence cut off by the end of the body.
        for (; rc == static_cast<size_t>(-1) && inLeft > 0; ++in, --inLeft)
            sink.AppendInvalidByte(static_cast<unsigned char>(*in));
        if (flushing)
            break;
        flushing = true;
    }
    return sink.Take();
}

QString DecodeAs(const QByteArray& charset, const char* data, qsizetype size)
{
    if (charset == Utf8)
        return DecodeUtf8KeepingBytes(QByteArrayView(data, size));
    const IconvHandle cd(Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE", charset.constData());
    if (!cd.IsValid())
        return DecodeAs(Windows1252, data, size);
    return DecodeWithIconv(cd.Get(), data, size);
}

}  // namespace

QByteArray ChoosePageCharset(const QByteArray& body, const QByteArray& contentType)
{
    QByteArray charset;
    if (BomLength(body, &charset) > 0)
        return charset;
    charset = DeclaredCharset(body, contentType);
    if (charset.isEmpty()) {
        QString ignored;
        charset = DecodeUtf8(body.constData(), body.size(), &ignored) ? Utf8 : Windows1252;
    }
    return charset;
}

QString DecodePageBody(const QByteArray& body, const QByteArray& contentType)
{
    QByteArray charset;
    const qsizetype skip = BomLength(body, &charset);
    if (skip == 0)
        charset = DeclaredCharset(body, contentType);
    const char* data = body.constData() + skip;
    if (!charset.isEmpty())
        return DecodeAs(charset, data, body.size() - skip);
    QString text;
    if (DecodeUtf8(data, body.size(), &text))
        return text;
    return DecodeAs(Windows1252, data, body.size());
}

QString DecodeHeaderText(const QByteArray& bytes)
{
    return DecodeUtf8KeepingBytes(bytes);
}

}  // namespace lexicrawl
