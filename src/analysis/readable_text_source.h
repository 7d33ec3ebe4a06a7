#pragma once
// The preparation of a page source before its text is rendered, shared by
// ExtractReadableText and ParsedPage.
//
// Thread-safety: stateless; safe from any thread.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <vector>

namespace lexicrawl::readable_text {

// The META tag that asked an old engine for its newest mode; removed from the
// source as written, ignoring the case of A to Z.
QString CompatibilityTag();

// The source up to and including its first "</html>" (any case of A to Z),
// or the whole source.
QString CutAfterHtmlEnd(const QString& source);
// The byte offset just after the first "</html>" in a UTF-8 source, or the
// largest offset when there is none.
std::size_t HtmlEndOffset(const QByteArray& utf8);

// Whether removing the compatibility tag before the cut may change how the
// rest parses: where it stands after the start of an SVG or MathML element
// (a META tag closes foreign content), or between a pre, listing or textarea
// start tag and a line break (which the parser drops only right after the
// tag). The text must then come from a parse of the prepared source.
// tagOffsets gives the offsets of the parsed document's start tags of the
// compatibility tag's length (HtmlDocument::StartTagOffsets), asked only when
// the tag occurs: a copy of the tag that the parser did not read as a tag of
// its own (inside another tag's name or attributes, say) changes the parse
// when it is removed.
bool CompatibilityTagRemovalMayChangeParse(const QByteArray& utf8, std::size_t cutOffset,
                                           const std::function<std::vector<std::size_t>()>& tagOffsets);
// The length in bytes of the compatibility tag.
std::size_t CompatibilityTagLength();

QString WithoutCompatibilityTag(QString source);
QString WithoutSoftHyphens(QString text);

}  // namespace lexicrawl::readable_text
