#pragma once
// Whether the body of an answer is text that a page can be read from, or
// binary data (an image, an archive, a program) that would give nothing but
// junk words.
//
// A body is text when its Content-Type says text (text/*, an XML, JSON or
// script type) and binary when it names an image, audio, video, font or
// model type. Any other type, and a missing one, is decided by the first
// 1024 bytes, as browsers sniff an unlabelled resource: a byte-order mark
// means text; the signature of a common binary format, or any control byte
// that text never holds (0x00-0x08, 0x0B, 0x0E-0x1A, 0x1C-0x1F), means binary.
//
// Thread-safety: stateless; any thread.
#include <QByteArray>

namespace lexicrawl {

bool IsTextBody(const QByteArray& body, const QByteArray& contentType);

}  // namespace lexicrawl
