#include "crawl/document_kind.h"

#include "crawl/text_body.h"
#include "crawl/url_text.h"

namespace lexicrawl {

namespace {

constexpr char kOdtType[] = "application/vnd.oasis.opendocument.text";
constexpr char kDocxType[] = "application/vnd.openxmlformats-officedocument.wordprocessingml.document";

}  // namespace

DocumentKind DocumentKindOfUrl(const QString& url)
{
    const QString extension = DocumentExtensionOf(url);
    if (extension == u".pdf")
        return DocumentKind::Pdf;
    if (extension == u".odt")
        return DocumentKind::Odt;
    if (extension == u".docx")
        return DocumentKind::Docx;
    return DocumentKind::None;
}

DocumentKind DocumentKindOfSignature(const QByteArray& body)
{
    if (body.startsWith("%PDF-"))
        return DocumentKind::Pdf;
    if (!body.startsWith("PK\x03\x04"))
        return DocumentKind::None;
    // An ODT names its type in its first member, "mimetype", stored
    // uncompressed; a DOCX lists its parts' types and holds its body in
    // word/document.xml (names every ZIP writes in plain bytes).
    const QByteArray head = body.left(200);
    if (head.contains("mimetype") && head.contains(kOdtType))
        return DocumentKind::Odt;
    if (body.contains("[Content_Types].xml") && body.contains("word/document.xml"))
        return DocumentKind::Docx;
    return DocumentKind::None;
}

DocumentKind DocumentKindOfType(const QByteArray& contentType)
{
    const qsizetype semicolon = contentType.indexOf(';');
    const QByteArray type = (semicolon < 0 ? contentType : contentType.first(semicolon)).trimmed().toLower();
    if (type == "application/pdf" || type == "application/x-pdf")
        return DocumentKind::Pdf;
    if (type == kOdtType)
        return DocumentKind::Odt;
    if (type == kDocxType)
        return DocumentKind::Docx;
    return DocumentKind::None;
}

DocumentKind DocumentKindOfAnswer(const QString& url, const QByteArray& body, const QByteArray& contentType)
{
    const DocumentKind bySignature = DocumentKindOfSignature(body);
    if (bySignature != DocumentKind::None)
        return bySignature;
    if (IsTextBody(body, contentType))
        return DocumentKind::None;
    const DocumentKind declared = DocumentKindOfType(contentType);
    return declared != DocumentKind::None ? declared : DocumentKindOfUrl(url);
}

}  // namespace lexicrawl
