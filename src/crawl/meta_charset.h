#pragma once
// Finds the character set an HTML or XML document declares inside itself,
// reading the raw bytes before they are decoded.
//
// Thread-safety: stateless; any thread.
#include <QByteArray>

namespace lexicrawl {

// The charset of the first <meta charset=...> or <meta http-equiv=
// "Content-Type" content="...; charset=..."> in head, skipping comments and
// the attributes of other tags; empty when there is none. Callers pass the
// first few KiB of the document.
QByteArray MetaCharset(const QByteArray& head);

// The encoding of an XML declaration (<?xml ... encoding="..."?>) at the very
// start of head; empty when there is none.
QByteArray XmlDeclaredEncoding(const QByteArray& head);

// The charset parameter of a Content-Type value ("text/html; charset=utf-8"),
// unquoted; empty when there is none.
QByteArray CharsetParameter(const QByteArray& contentType);

}  // namespace lexicrawl
