#include "platform/escaped_bytes.h"

#include <QStringDecoder>

namespace lexicrawl {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence at p (at most n bytes), or 0 when the
// byte there does not start one. Overlong forms, surrogates and code points
// above U+10FFFF are not valid.
int ValidSequenceLength(const unsigned char* p, qsizetype n, char32_t* code)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        *code = b;
        return 1;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, c = b & 0x1F, minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, c = b & 0x0F, minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, c = b & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (n < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *code = c;
    return length;
}

void AppendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// UTF-8 of text; escapes become their byte when keepBytes, and every other
// lone surrogate (and, without keepBytes, every escape) becomes U+FFFD.
QByteArray EncodeUtf8(QStringView text, bool keepBytes)
{
    if (text.isValidUtf16())
        return text.toUtf8();
    QByteArray out;
    out.reserve(text.size() * 3);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (keepBytes && IsEscapedByte(c)) {
            out += char(c - 0xDC00);
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

}  // namespace

QString DecodeUtf8KeepingBytes(QByteArrayView bytes)
{
    // A byte-order mark is a character like any other here: the bytes must
    // come back whole.
    QStringDecoder strict(QStringConverter::Utf8,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString fast = strict.decode(bytes);
    if (!strict.hasError())
        return fast;
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        char32_t code = 0;
        const int length = ValidSequenceLength(p + i, n - i, &code);
        if (length == 0) {
            out += EscapedByte(p[i]);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out += QChar(QChar::highSurrogate(code));
            out += QChar(QChar::lowSurrogate(code));
        } else {
            out += QChar(char16_t(code));
        }
        i += length;
    }
    return out;
}

QByteArray EncodeUtf8KeepingBytes(QStringView text)
{
    return EncodeUtf8(text, true);
}

QByteArray EncodeUtf8Replacing(QStringView text)
{
    return EncodeUtf8(text, false);
}

QString PercentEncodeEscapedBytes(const QString& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    if (text.isValidUtf16())
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!IsEscapedByte(c)) {
            out += ch;
            continue;
        }
        const unsigned b = c - 0xDC00u;
        out += QLatin1Char('%');
        out += QLatin1Char(kHex[b >> 4]);
        out += QLatin1Char(kHex[b & 15]);
    }
    return out;
}

QString ReplaceEscapedBytes(QString text)
{
    if (text.isValidUtf16())
        return text;
    for (QChar& c : text) {
        if (IsEscapedByte(c.unicode()))
            c = QChar(kReplacement);
    }
    return text;
}

}  // namespace lexicrawl
