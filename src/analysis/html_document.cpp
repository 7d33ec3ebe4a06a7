#include "analysis/html_document.h"

#include <gumbo.h>

#include <algorithm>
#include <cstring>

#include "analysis/guarded_parse.h"
#include "analysis/gumbo_arena.h"
#include "analysis/parser_input.h"
#include "analysis/html_node.h"
#include "analysis/text_renderer.h"
#include "platform/escaped_bytes.h"

namespace lexicrawl {

namespace {

bool IsAsciiWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The parser turns every line break of an attribute value into LF. The value
// keeps the source's own breaks (CR LF, CR or LF) when each LF of the decoded
// value can be matched to one written in the source; a value whose LFs come
// partly from character references stays as decoded.
std::string SourceLineBreaks(const GumboAttribute& attribute)
{
    std::string value = attribute.value;
    const GumboStringPiece raw = attribute.original_value;
    if (!raw.data || std::memchr(raw.data, '\r', raw.length) == nullptr)
        return value;
    std::vector<std::string_view> breaks;
    for (std::size_t i = 0; i < raw.length; ++i) {
        if (raw.data[i] == '\r') {
            const bool pair = i + 1 < raw.length && raw.data[i + 1] == '\n';
            breaks.emplace_back(pair ? "\r\n" : "\r");
            i += pair ? 1 : 0;
        } else if (raw.data[i] == '\n') {
            breaks.emplace_back("\n");
        }
    }
    std::size_t lineFeeds = 0;
    for (char c : value)
        lineFeeds += c == '\n' ? 1 : 0;
    if (lineFeeds != breaks.size())
        return value;
    std::string restored;
    restored.reserve(value.size() + breaks.size());
    std::size_t next = 0;
    for (char c : value) {
        if (c == '\n')
            restored += breaks[next++];
        else
            restored += c;
    }
    return restored;
}

// "<![CDATA[" becomes "<!-CDATA[", which every parser state reads as the
// start of a bogus comment or as text.
void NeutraliseCdataSections(QByteArray& utf8)
{
    for (qsizetype at = utf8.indexOf("<![CDATA["); at >= 0; at = utf8.indexOf("<![CDATA[", at + 9))
        utf8[at + 2] = '-';
}

QString TagNameOf(const GumboNode* element)
{
    const std::string local = html::LocalName(element);
    QString name = QString::fromUtf8(local.data(), qsizetype(local.size()));
    if (element->v.element.tag_namespace == GUMBO_NAMESPACE_HTML) {
        for (QChar& c : name)
            if (c.unicode() >= u'a' && c.unicode() <= u'z')
                c = QChar(char16_t(c.unicode() - 32));
    }
    return name;
}

}  // namespace

HtmlDocument::HtmlDocument(const QString& source) : utf8_(html::BoundParserInput(source))
{
    output_ = Parse();
    if (!output_) {
        // The known way to trip the parser is a CDATA section inside foreign
        // content inside a table. Read as a bogus comment instead (same
        // length, so every offset stays), the rest of the page still parses.
        NeutraliseCdataSections(utf8_);
        output_ = Parse();
    }
    CollectElements();
}

GumboOutput* HtmlDocument::Parse()
{
    arena_ = std::make_unique<GumboArena>();  // an abandoned parse's memory goes with the old one
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &GumboArena::AllocateCallback;
    options.deallocator = &GumboArena::DeallocateCallback;
    options.userdata = arena_.get();
    options.max_errors = 0;  // parse errors are of no use here and cost memory
    return ParseGuarded(options, utf8_.constData(), std::size_t(utf8_.size()));
}

// The tree lives in the arena and goes with it; it is deliberately not
// destroyed node by node.
HtmlDocument::~HtmlDocument() = default;

void HtmlDocument::CollectElements()
{
    if (!output_ || !output_->document)
        return;
    elements_.reserve(std::size_t(utf8_.count('<')) / 2 + 4);
    std::vector<std::pair<const GumboNode*, unsigned>> stack{{output_->document, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const GumboVector* children = html::Children(node);
        if (node->type == GUMBO_NODE_TEMPLATE || !children || next >= children->length) {
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children->data[next++]);
        if (child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE) {
            elements_.push_back(child);
            stack.emplace_back(child, 0);
        }
    }
}

QString HtmlDocument::Title() const
{
    for (const GumboNode* element : elements_) {
        if (!html::IsHtml(element, GUMBO_TAG_TITLE))
            continue;
        std::string text;
        const GumboVector& children = element->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
                text += child->v.text.text;
        }
        std::string collapsed;
        bool space = false;
        for (char c : text) {
            if (IsAsciiWhiteSpace(c)) {
                space = !collapsed.empty();
                continue;
            }
            if (space)
                collapsed += ' ';
            space = false;
            collapsed += c;
        }
        return QString::fromStdString(collapsed);
    }
    return QString();
}

QString HtmlDocument::TagName(int index) const
{
    return TagNameOf(elements_.at(std::size_t(index)));
}

bool HtmlDocument::TagNameIs(int index, QStringView name) const
{
    const GumboNode* element = elements_.at(std::size_t(index));
    const GumboElement& e = element->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN && e.tag_namespace == GUMBO_NAMESPACE_HTML) {
        // Known HTML names are short ASCII: compare without building a string.
        const char* local = gumbo_normalized_tagname(e.tag);
        const std::size_t n = std::strlen(local);
        if (std::size_t(name.size()) != n)
            return false;
        for (std::size_t i = 0; i < n; ++i) {
            const char upper = (local[i] >= 'a' && local[i] <= 'z') ? char(local[i] - 32) : local[i];
            if (name[qsizetype(i)].unicode() != char16_t(uchar(upper)))
                return false;
        }
        return true;
    }
    return TagNameOf(element) == name;
}

bool HtmlDocument::LowerTagNameIs(int index, QStringView name) const
{
    const GumboNode* element = elements_.at(std::size_t(index));
    const GumboElement& e = element->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN && e.tag_namespace != GUMBO_NAMESPACE_SVG)
        return name == QLatin1StringView(gumbo_normalized_tagname(e.tag));
    QString lowered = TagNameOf(element);
    for (QChar& c : lowered)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
    return lowered == name;
}

bool HtmlDocument::HasAttribute(int index, const char* name) const
{
    return html::FindAttribute(elements_.at(std::size_t(index)), name) != nullptr;
}

QString HtmlDocument::Attribute(int index, const char* name) const
{
    const GumboAttribute* attribute = html::FindAttribute(elements_.at(std::size_t(index)), name);
    return attribute ? QString::fromStdString(SourceLineBreaks(*attribute)) : QString();
}

bool HtmlDocument::ClosesHtmlAt(std::size_t offset) const
{
    if (!output_ || !output_->root || offset >= std::size_t(utf8_.size()))
        return false;
    const GumboStringPiece end = output_->root->v.element.original_end_tag;
    return end.data == utf8_.constData() + offset && end.length > 0;
}

std::vector<std::size_t> HtmlDocument::StartTagOffsets(std::size_t length) const
{
    std::vector<std::size_t> offsets;
    const char* begin = utf8_.constData();
    const char* end = begin + utf8_.size();
    for (const GumboNode* element : elements_) {
        const GumboStringPiece tag = element->v.element.original_tag;
        if (tag.length == length && tag.data >= begin && tag.data < end)
            offsets.push_back(std::size_t(tag.data - begin));
    }
    std::sort(offsets.begin(), offsets.end());
    return offsets;
}

QString HtmlDocument::InnerText(int index) const
{
    TextRenderer renderer(kNoCut);
    return QString::fromStdString(renderer.Render(elements_.at(std::size_t(index))));
}

const GumboNode* HtmlDocument::Body() const
{
    if (!output_ || !output_->root)
        return nullptr;
    const GumboVector& children = output_->root->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (html::IsHtml(child, GUMBO_TAG_BODY))
            return child;
    }
    return nullptr;
}

QString HtmlDocument::BodyText(std::size_t cutOffset, const std::string& removedRawText,
                               bool* crossedCut, RenderObserver* observer) const
{
    if (!observer) {
        std::string text;
        BodyTextTo([&text](std::string_view piece) { text.append(piece); }, cutOffset, removedRawText, crossedCut);
        return QString::fromStdString(text);
    }
    // An observer keeps offsets into the whole text, so it is rendered whole.
    TextRenderer renderer(cutOffset);
    renderer.SetRemovedRawText(removedRawText);
    renderer.SetObserver(observer);
    const GumboNode* body = Body();
    QString text = QString::fromStdString(renderer.Render(body));
    if (crossedCut)
        *crossedCut = renderer.CrossedCut() || (!body && cutOffset < std::size_t(utf8_.size()));
    return text;
}

void HtmlDocument::BodyTextTo(const std::function<void(std::string_view)>& sink, std::size_t cutOffset,
                              const std::string& removedRawText, bool* crossedCut) const
{
    TextRenderer renderer(cutOffset);
    renderer.SetRemovedRawText(removedRawText);
    renderer.SetSink(sink);
    const GumboNode* body = Body();
    renderer.Render(body);
    if (crossedCut) {
        // A frameset after the cut can replace a body that held nothing
        // visible yet; the prefix alone would still have had that body.
        const bool framesetAfterCut = !body && cutOffset < std::size_t(utf8_.size());
        *crossedCut = renderer.CrossedCut() || framesetAfterCut;
    }
}

QString GumboVersion()
{
    return QStringLiteral(LEXICRAWL_GUMBO_VERSION);
}

}  // namespace lexicrawl
