#pragma once
// Turns the bytes of an answer into text by the character set it declares.
//
// Order of precedence: a UTF-8 or UTF-16 byte-order mark; the charset
// parameter of the Content-Type header; for an HTML answer (text/html,
// application/xhtml+xml or no type at all) a META declaration in the first
// 4 KiB, for an XML answer the XML declaration; otherwise UTF-8 when the
// bytes are valid UTF-8, else Windows-1252. A name the system's iconv does
// not know counts as no declaration. Labels that browsers read as a wider
// character set (ISO-8859-1 and US-ASCII as Windows-1252, GB2312 as GBK, ...)
// are read the same way here, so that a page shows the characters its
// author saw. A byte that is invalid in the chosen set is kept as its escape
// (see platform/escaped_bytes.h), so that a link holding it is requested
// with that very byte; an invalid ASCII byte (in UTF-16 or a stateful set)
// becomes U+FFFD.
//
// Thread-safety: the functions keep no state and may run on any thread.
#include <QByteArray>
#include <QString>

namespace lexicrawl {

// The page text of body; contentType is the answer's Content-Type header
// (empty when it had none).
QString DecodePageBody(const QByteArray& body, const QByteArray& contentType);

// A header value as text: UTF-8, with every byte that is not part of a valid
// UTF-8 sequence kept as its escape.
QString DecodeHeaderText(const QByteArray& bytes);

// The character set that DecodePageBody chooses for body, as an iconv name
// ("UTF-8", "WINDOWS-1252", ...).
QByteArray ChoosePageCharset(const QByteArray& body, const QByteArray& contentType);

}  // namespace lexicrawl
