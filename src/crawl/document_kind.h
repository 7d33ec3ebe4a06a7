#pragma once
// Which kind of document an answer is, for a crawl that reads documents.
//
// What the body starts with decides first: "%PDF-" is a PDF, and a ZIP
// archive is an ODT when its mimetype member says so, a DOCX when it holds
// [Content_Types].xml and word/document.xml; a server that calls a real PDF
// application/octet-stream or text/plain is common. A body that is text
// (text_body.h) and has no such signature is a page, whatever its type and
// its URL say: a .pdf link is often answered by an HTML error page. Only a
// binary body without a signature is taken by its declared type
// (application/pdf and the two office types), then by its URL's extension;
// it is then read as that kind and found damaged.
//
// Thread-safety: stateless; any thread.
#include <QByteArray>
#include <QString>

namespace lexicrawl {

enum class DocumentKind { None, Pdf, Odt, Docx };

// The kind of document a URL's path ends in (".pdf", ".odt", ".docx", any
// letter case, before any query or fragment); None for every other URL.
DocumentKind DocumentKindOfUrl(const QString& url);
// The kind by the body's first bytes alone; None without a signature.
DocumentKind DocumentKindOfSignature(const QByteArray& body);
// The kind a Content-Type names; None for every other type.
DocumentKind DocumentKindOfType(const QByteArray& contentType);
// The kind of a 2xx answer, by the rules above; None for a page or any
// other file.
DocumentKind DocumentKindOfAnswer(const QString& url, const QByteArray& body, const QByteArray& contentType);

}  // namespace lexicrawl
