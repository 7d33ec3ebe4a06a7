#include "analysis/parsed_page.h"

#include "analysis/html_node.h"
#include "analysis/page_facts.h"
#include "analysis/readable_text.h"
#include "analysis/readable_text_source.h"
#include "platform/text.h"

namespace lexicrawl {

ParsedPage::ParsedPage(const QString& source) : source_(source), document_(source) {}

QString ParsedPage::TitleText() const
{
    return ExtractTitleText(source_);
}

QString ParsedPage::DocumentTitle() const
{
    return document_.Title();
}

QString ParsedPage::MetaDescription() const
{
    QString description;
    for (int i = 0, n = document_.ElementCount(); i < n; ++i) {
        if (document_.TagNameIs(i, u"META") &&
            LowerAZ(document_.Attribute(i, "name")) == QLatin1StringView("description"))
            description = document_.Attribute(i, "content");
    }
    return description;
}

QString ParsedPage::Headings(QStringView tag) const
{
    QString result;
    for (int i = 0, n = document_.ElementCount(); i < n; ++i) {
        if (document_.LowerTagNameIs(i, tag)) {
            result += TrimCtl(document_.InnerText(i));
            result += QLatin1StringView("\r\n");
        }
    }
    return result;
}

bool ParsedPage::SharedParseServes(std::size_t* cut) const
{
    // The text is that of the page cut after its first "</html>" and without
    // the X-UA-Compatible tag. Neither changes how the part before the cut
    // parses, so the one parse serves, with everything that starts after the
    // cut left out. Only where the parser joined text from both sides of the
    // cut, where markup after the cut may have rearranged the tree (end tags
    // move elements, a frameset replaces the body), or where the tag's
    // removal may change the parse, is the prepared source parsed on its own.
    const QByteArray& utf8 = document_.Utf8();
    *cut = readable_text::HtmlEndOffset(utf8);
    // The tail after the cut can be judged by its text only where the cut is
    // the html element's real end tag: a "</html>" inside an attribute, a
    // comment or a script leaves the parser in another state.
    const bool tailIsInert =
        *cut >= std::size_t(utf8.size()) ||
        (document_.ClosesHtmlAt(*cut - 7) &&
         html::OnlyWhiteSpaceAndComments(std::string_view(utf8.constData() + *cut, std::size_t(utf8.size()) - *cut)));
    return tailIsInert &&
           !readable_text::CompatibilityTagRemovalMayChangeParse(
               utf8, *cut, [this] { return document_.StartTagOffsets(readable_text::CompatibilityTagLength()); });
}

QString ParsedPage::ReadableText() const
{
    return ReadableText(nullptr);
}

QString ParsedPage::ReadableText(RenderObserver* observer) const
{
    std::size_t cut = 0;
    if (!SharedParseServes(&cut))
        return ExtractReadableText(source_, observer);
    bool crossedCut = false;
    QString text =
        document_.BodyText(cut, readable_text::CompatibilityTag().toStdString(), &crossedCut, observer);
    if (crossedCut)
        return ExtractReadableText(source_, observer);
    return readable_text::WithoutSoftHyphens(std::move(text));
}

// The words are read from the rendered text piece by piece: a page of tens
// of megabytes need not have its text held whole as well.
QString ParsedPage::Words() const
{
    std::size_t cut = 0;
    if (!SharedParseServes(&cut))
        return ExtractWords(ExtractReadableText(source_));
    WordCollector words(true);
    bool crossedCut = false;
    document_.BodyTextTo(
        [&words](std::string_view piece) { words.Add(QString::fromUtf8(piece.data(), qsizetype(piece.size()))); },
        cut, readable_text::CompatibilityTag().toStdString(), &crossedCut);
    if (crossedCut)
        return ExtractWords(ExtractReadableText(source_));
    return words.Result();
}

}  // namespace lexicrawl
