#pragma once
// The facts kept about a page, each read from its HTML source: the title as
// written, the document title, the META description and the headings. Each
// function parses the page on its own; to read several facts of one page,
// parse it once with ParsedPage.
//
// Thread-safety: stateless; safe from any thread.
#include <QString>
#include <QStringView>

namespace lexicrawl {

// The text between the first tag whose name begins with "title" and the
// following "</title>", as written (not trimmed, references not decoded).
QString ExtractTitleText(const QString& source);
// The title as the parsed document reports it (references decoded).
QString ExtractDocumentTitle(const QString& source);
// The content of the last META element named "description" (any case of A to Z).
QString ExtractMetaDescription(const QString& source);
// The trimmed inner text of every element with that tag ("h1", "h2", "h3"),
// in document order, each entry followed by CR LF.
QString ExtractHeadings(const QString& source, QStringView tag);
// Every CR LF pair replaced by one space.
QString FlattenLineBreaks(const QString& text);

}  // namespace lexicrawl
