#pragma once
// Bytes that a character set cannot decode, kept inside decoded text.
//
// A page or header is decoded to UTF-16 by its character set; a byte that is
// not valid there (a Latin-1 "é" in a page served as UTF-8, a raw byte in a
// Location header) cannot become a character, but the address that holds it
// must still be requested with that very byte. Such a byte b (0x80..0xFF) is
// kept as the lone low surrogate U+DC00 + b, which no valid decoding ever
// yields. URLs turn these escapes into "%XX"; every other reader of the text
// sees U+FFFD, as if the byte had been replaced.
//
// Thread-safety: pure functions; any thread.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lexicrawl {

inline bool IsEscapedByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// The escape of byte b (0x80..0xFF).
inline QChar EscapedByte(unsigned char b)
{
    return QChar(char16_t(0xDC00 + b));
}

// UTF-8 decoded, with every byte that is not part of a valid sequence kept
// as its escape. EncodeUtf8KeepingBytes gives the bytes back exactly.
QString DecodeUtf8KeepingBytes(QByteArrayView bytes);

// UTF-8 of text with each escape written back as its byte; any other lone
// surrogate becomes U+FFFD.
QByteArray EncodeUtf8KeepingBytes(QStringView text);

// UTF-8 of text with each escape, and any other lone surrogate, as U+FFFD:
// what a reader of the text (an HTML parser, a file) should get.
QByteArray EncodeUtf8Replacing(QStringView text);

// text with each escape as "%XX" (upper-case hexadecimal), as a URL needs it.
QString PercentEncodeEscapedBytes(const QString& text);

// text with each escape as U+FFFD.
QString ReplaceEscapedBytes(QString text);

}  // namespace lexicrawl
