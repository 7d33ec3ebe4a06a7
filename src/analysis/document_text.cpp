#include "analysis/document_text.h"

#include <QElapsedTimer>
#include <QXmlStreamReader>

#include <memory>
#include <mutex>

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include "platform/user_message.h"
#include "spelling/zip_read.h"

namespace lexicrawl {

namespace {

// Poppler reports every damaged object on standard error; the status says
// all a user needs.
void SilencePoppler()
{
    static std::once_flag once;
    std::call_once(once, [] { poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr); });
}

QString FromPoppler(const poppler::ustring& text)
{
    const poppler::byte_array utf8 = text.to_utf8();
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

DocumentText ReadPdf(const QByteArray& body, const DocumentLimits& limits)
{
    SilencePoppler();
    DocumentText result;
    result.kind = DocumentKind::Pdf;
    if (!body.startsWith("%PDF-") && body.indexOf("%PDF-") < 0) {
        result.status = DocumentStatus::Damaged;
        return result;
    }
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(body.constData(), int(body.size())));
    if (!document) {
        // Poppler answers null for a damaged file and for one whose
        // password it lacks alike; the trailer tells them apart.
        result.status = body.contains("/Encrypt") ? DocumentStatus::Encrypted : DocumentStatus::Damaged;
        return result;
    }
    if (document->is_locked()) {
        result.status = DocumentStatus::Encrypted;
        return result;
    }
    QElapsedTimer clock;
    clock.start();
    const int pageCount = document->pages();
    result.status = DocumentStatus::Read;
    bool anyText = false;
    for (int i = 0; i < pageCount; ++i) {
        if (i >= limits.maxPages || clock.elapsed() > limits.maxMilliseconds) {
            result.status = DocumentStatus::Cut;
            break;
        }
        std::unique_ptr<poppler::page> page(document->create_page(i));
        QString text = page ? FromPoppler(page->text(poppler::rectf(), poppler::page::physical_layout)) : QString();
        anyText = anyText || !text.trimmed().isEmpty();
        result.pages.append(text);
    }
    if (!anyText && result.status == DocumentStatus::Read)
        result.status = pageCount == 0 ? DocumentStatus::Damaged : DocumentStatus::NoText;
    return result;
}

// The body text of an office document's XML: the characters of its text
// runs (DOCX: <w:t>; ODT: whatever stands inside a paragraph or heading), a
// line end after each paragraph or heading and at line breaks, a space for
// tabs and spacing elements; deleted text, field codes, comments and
// tracked changes left out.
QString OfficeXmlText(const QByteArray& xml, DocumentKind kind, bool* ok)
{
    const bool docx = kind == DocumentKind::Docx;
    QXmlStreamReader reader(xml);
    QString text;
    int skipDepth = 0;  // inside an element whose text is not the document's
    int textDepth = 0;  // inside a text run (DOCX) or a paragraph (ODT)
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        const QStringView name = reader.name();
        if (token == QXmlStreamReader::StartElement) {
            const bool skipped = docx ? (name == u"delText" || name == u"instrText")
                                      : (name == u"tracked-changes" || name == u"annotation" ||
                                         name == u"note-citation");
            if (skipDepth > 0 || skipped) {
                ++skipDepth;
                continue;
            }
            if (docx ? name == u"t" : (name == u"p" || name == u"h"))
                ++textDepth;
            if (name == u"tab" || (!docx && name == u"s"))
                text += u' ';
            else if (docx ? (name == u"br" || name == u"cr") : name == u"line-break")
                text += u'\n';
        } else if (token == QXmlStreamReader::EndElement) {
            if (skipDepth > 0) {
                --skipDepth;
                continue;
            }
            if (docx ? name == u"t" : (name == u"p" || name == u"h"))
                --textDepth;
            if (name == u"p" || name == u"h")
                text += u'\n';
        } else if (token == QXmlStreamReader::Characters && skipDepth == 0 && textDepth > 0) {
            text += reader.text();
        }
    }
    *ok = !reader.hasError();
    return text;
}

// A damaged document is a status of its row, not a message for the user:
// the ZIP reader's complaints about it are dropped.
class SilentReporter : public MessageReporter {
public:
    void Report(const UserMessage&) override {}
};

DocumentText ReadOffice(const QByteArray& body, DocumentKind kind)
{
    SilentReporter silent;
    const ScopedMessageReporter quiet(&silent);
    DocumentText result;
    result.kind = kind;
    result.status = DocumentStatus::Damaged;
    if (!body.startsWith("PK\x03\x04"))
        return result;
    const ZipRead zip(reinterpret_cast<const uint8_t*>(body.constData()), body.size());
    const QByteArray member = kind == DocumentKind::Docx ? QByteArrayLiteral("word\\document.xml")
                                                        : QByteArrayLiteral("content.xml");
    const int index = zip.NameToIndex(member);
    if (index < 0)
        return result;
    const QByteArray xml = zip.UnZip(index);
    if (xml.isEmpty())
        return result;
    bool ok = false;
    const QString text = OfficeXmlText(xml, kind, &ok);
    if (!ok && text.isEmpty())
        return result;
    result.pages.append(text);
    result.status = text.trimmed().isEmpty() ? DocumentStatus::NoText : DocumentStatus::Read;
    return result;
}

}  // namespace

DocumentText ReadDocumentText(const QByteArray& body, DocumentKind kind, const DocumentLimits& limits)
{
    if (body.size() > limits.maxBytes) {
        DocumentText result;
        result.kind = kind;
        result.status = DocumentStatus::TooLarge;
        return result;
    }
    switch (kind) {
    case DocumentKind::Pdf:
        return ReadPdf(body, limits);
    case DocumentKind::Odt:
    case DocumentKind::Docx:
        return ReadOffice(body, kind);
    case DocumentKind::None:
        break;
    }
    return {};
}

QString DocumentStatusText(DocumentStatus status)
{
    switch (status) {
    case DocumentStatus::Read:
        return {};
    case DocumentStatus::Cut:
        return QStringLiteral("document cut: too many pages or too slow to read");
    case DocumentStatus::NoText:
        return QStringLiteral("document without text (images only?)");
    case DocumentStatus::Encrypted:
        return QStringLiteral("encrypted document");
    case DocumentStatus::Damaged:
        return QStringLiteral("damaged document");
    case DocumentStatus::TooLarge:
        return QStringLiteral("document too large to read");
    }
    return {};
}

}  // namespace lexicrawl
