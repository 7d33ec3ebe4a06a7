#include "analysis/text_renderer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "analysis/html_node.h"
#include "analysis/render_observer.h"

namespace lexicrawl {

using Display = TextRenderer::Display;
using WhiteSpace = TextRenderer::WhiteSpace;

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// What the default style sheet gives an HTML element.
Display DefaultDisplay(const GumboNode* element)
{
    const GumboElement& e = element->v.element;
    if (e.tag_namespace == GUMBO_NAMESPACE_SVG) {
        switch (e.tag) {
        case GUMBO_TAG_TITLE: case GUMBO_TAG_DESC: case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE:
            return Display::None;
        case GUMBO_TAG_UNKNOWN: {
            const std::string name = html::LocalName(element);
            return (name == "defs" || name == "symbol" || name == "metadata") ? Display::None
                                                                            : Display::Inline;
        }
        default:
            return Display::Inline;
        }
    }
    if (e.tag_namespace != GUMBO_NAMESPACE_HTML)
        return Display::Inline;
    switch (e.tag) {
    case GUMBO_TAG_HEAD: case GUMBO_TAG_TITLE: case GUMBO_TAG_META: case GUMBO_TAG_LINK:
    case GUMBO_TAG_BASE: case GUMBO_TAG_STYLE: case GUMBO_TAG_SCRIPT: case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_IFRAME: case GUMBO_TAG_NOEMBED: case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_OBJECT: case GUMBO_TAG_EMBED: case GUMBO_TAG_VIDEO: case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_CANVAS: case GUMBO_TAG_DATALIST: case GUMBO_TAG_AREA: case GUMBO_TAG_PARAM:
    case GUMBO_TAG_SOURCE: case GUMBO_TAG_TRACK: case GUMBO_TAG_RP: case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_INPUT: case GUMBO_TAG_FRAMESET: case GUMBO_TAG_FRAME: case GUMBO_TAG_IMG:
        return Display::None;
    case GUMBO_TAG_UNKNOWN: {
        // Elements newer than the parser's list of names.
        const std::string name = html::LocalName(element);
        if (name == "dialog")
            return html::FindAttribute(element, "open") ? Display::Block : Display::None;
        return name == "search" ? Display::Block : Display::Inline;
    }
    case GUMBO_TAG_P:
        return Display::Paragraph;
    case GUMBO_TAG_BR:
        return Display::LineBreak;
    case GUMBO_TAG_TR:
        return Display::Row;
    case GUMBO_TAG_TD: case GUMBO_TAG_TH:
        return Display::Cell;
    case GUMBO_TAG_HTML: case GUMBO_TAG_BODY: case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE: case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_CENTER: case GUMBO_TAG_DD:
    case GUMBO_TAG_DETAILS: case GUMBO_TAG_DIR: case GUMBO_TAG_DIV: case GUMBO_TAG_DL:
    case GUMBO_TAG_DT: case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER: case GUMBO_TAG_FORM: case GUMBO_TAG_H1: case GUMBO_TAG_H2:
    case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER: case GUMBO_TAG_HGROUP: case GUMBO_TAG_HR: case GUMBO_TAG_LEGEND:
    case GUMBO_TAG_LI: case GUMBO_TAG_LISTING: case GUMBO_TAG_MAIN: case GUMBO_TAG_MENU:
    case GUMBO_TAG_NAV: case GUMBO_TAG_OL: case GUMBO_TAG_OPTGROUP: case GUMBO_TAG_OPTION:
    case GUMBO_TAG_PLAINTEXT: case GUMBO_TAG_PRE: case GUMBO_TAG_SECTION: case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_UL: case GUMBO_TAG_XMP: case GUMBO_TAG_TABLE: case GUMBO_TAG_CAPTION:
        return Display::Block;
    default:
        return Display::Inline;
    }
}

WhiteSpace DefaultWhiteSpace(const GumboNode* element, WhiteSpace inherited)
{
    if (element->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return inherited;
    switch (element->v.element.tag) {
    case GUMBO_TAG_PRE: case GUMBO_TAG_LISTING: case GUMBO_TAG_XMP: case GUMBO_TAG_PLAINTEXT:
        return WhiteSpace::Pre;
    default:
        return inherited;
    }
}

struct InlineStyle {
    std::optional<Display> display;
    std::optional<WhiteSpace> whiteSpace;
};

// The few declarations of a style attribute that change the text: display
// and white-space. The last declaration of each wins.
InlineStyle ParseInlineStyle(std::string_view css)
{
    InlineStyle style;
    while (!css.empty()) {
        const std::size_t end = std::min(css.find(';'), css.size());
        const std::string_view declaration = css.substr(0, end);
        css.remove_prefix(std::min(end + 1, css.size()));
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view property = Trimmed(declaration.substr(0, colon));
        std::string_view value = Trimmed(declaration.substr(colon + 1));
        if (const std::size_t bang = value.find('!'); bang != std::string_view::npos)
            value = Trimmed(value.substr(0, bang));
        if (html::SameAsciiCase(property, "display")) {
            if (html::SameAsciiCase(value, "none"))
                style.display = Display::None;
            else if (html::SameAsciiCase(value, "block") || html::SameAsciiCase(value, "flex") ||
                     html::SameAsciiCase(value, "grid") || html::SameAsciiCase(value, "list-item") ||
                     html::SameAsciiCase(value, "table") || html::SameAsciiCase(value, "flow-root"))
                style.display = Display::Block;
            else if (html::SameAsciiCase(value, "inline") || html::SameAsciiCase(value, "inline-block") ||
                     html::SameAsciiCase(value, "inline-flex"))
                style.display = Display::Inline;
        } else if (html::SameAsciiCase(property, "white-space")) {
            if (html::SameAsciiCase(value, "pre") || html::SameAsciiCase(value, "pre-wrap") ||
                html::SameAsciiCase(value, "break-spaces"))
                style.whiteSpace = WhiteSpace::Pre;
            else if (html::SameAsciiCase(value, "pre-line"))
                style.whiteSpace = WhiteSpace::PreLine;
            else if (html::SameAsciiCase(value, "normal") || html::SameAsciiCase(value, "nowrap"))
                style.whiteSpace = WhiteSpace::Normal;
        }
    }
    return style;
}

struct Presentation {
    Display display;
    WhiteSpace whiteSpace;
};

// The element's display and white-space after its hidden attribute and
// inline style. A style can hide anything, but shows again only what the
// hidden attribute hid, never what is not rendered at all (scripts, the
// head), and it does not turn table rows and cells into other boxes.
Presentation PresentationOf(const GumboNode* element, WhiteSpace inherited)
{
    const Display byDefault = DefaultDisplay(element);
    Presentation shown{byDefault, DefaultWhiteSpace(element, inherited)};
    if (html::FindAttribute(element, "hidden"))
        shown.display = Display::None;
    const GumboAttribute* styleAttribute = html::FindAttribute(element, "style");
    if (!styleAttribute)
        return shown;
    const InlineStyle style = ParseInlineStyle(styleAttribute->value);
    if (style.whiteSpace)
        shown.whiteSpace = *style.whiteSpace;
    if (!style.display || byDefault == Display::None)
        return shown;
    if (*style.display == Display::None)
        shown.display = Display::None;
    else if (byDefault == Display::Row || byDefault == Display::Cell || byDefault == Display::LineBreak)
        shown.display = byDefault;
    else if (byDefault == Display::Paragraph && *style.display == Display::Block)
        shown.display = Display::Paragraph;
    else
        shown.display = *style.display;
    return shown;
}

bool IsCell(const GumboNode* node)
{
    return html::IsHtml(node, GUMBO_TAG_TD) || html::IsHtml(node, GUMBO_TAG_TH);
}

void EraseAsciiCase(std::string& text, const std::string& needle)
{
    if (needle.empty())
        return;
    for (std::size_t i = 0; i + needle.size() <= text.size();) {
        if (html::SameAsciiCase(std::string_view(text).substr(i, needle.size()), needle))
            text.erase(i, needle.size());
        else
            ++i;
    }
}

}  // namespace

std::string TextRenderer::Render(const GumboNode* root)
{
    out_.clear();
    handedOn_ = false;
    stack_.clear();
    if (!root || (root->type != GUMBO_NODE_ELEMENT && root->type != GUMBO_NODE_DOCUMENT))
        return out_;
    const WhiteSpace ws =
        root->type == GUMBO_NODE_ELEMENT ? DefaultWhiteSpace(root, WhiteSpace::Normal) : WhiteSpace::Normal;
    stack_.push_back({root, 0, Display::Inline, ws, false, false});
    if (observer_) {
        observer_->Begin(root, cut_);
        observer_->Enter(root, 0);
    }
    while (!stack_.empty()) {
        Frame& frame = stack_.back();
        const GumboVector* children = html::Children(frame.node);
        if (!children || frame.next >= children->length) {
            const Frame done = frame;
            stack_.pop_back();
            Close(done);
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children->data[frame.next++]);
        if (html::StartOffset(child) >= cut_)
            continue;
        switch (child->type) {
        case GUMBO_NODE_ELEMENT:
            Open(child, frame);  // may grow the stack: frame is not used after this
            break;
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            if (CrossesCut(child, frame))
                crossedCut_ = true;
            Text(child, frame);
            MaybeHandOn();
            break;
        default:  // comments, and template contents, which are never rendered
            break;
        }
    }
    if (observer_)
        observer_->End(out_);
    if (sink_ && !out_.empty()) {
        sink_(out_);
        out_.clear();
    }
    return std::move(out_);
}

// Only where the text ends in an ASCII byte can it be cut without cutting a
// UTF-8 sequence.
void TextRenderer::MaybeHandOn()
{
    if (!sink_ || out_.size() < kPieceBytes || static_cast<unsigned char>(out_.back()) >= 0x80)
        return;
    sink_(out_);
    out_.clear();
    handedOn_ = true;
}

void TextRenderer::Open(const GumboNode* element, const Frame& parent)
{
    if (parent.closedDetails && !html::IsHtml(element, GUMBO_TAG_SUMMARY))
        return;
    const Presentation shown = PresentationOf(element, parent.whiteSpace);
    switch (shown.display) {
    case Display::None:
        return;
    case Display::LineBreak:
        HardBreak();
        return;
    case Display::Block:
    case Display::Row:
        RequireBreaks(1);
        break;
    case Display::Paragraph:
        RequireBreaks(2);
        break;
    case Display::Cell:
        pendingSpace_ = false;
        lineStart_ = true;
        break;
    case Display::Inline:
        break;
    }
    const bool closedDetails =
        html::IsHtml(element, GUMBO_TAG_DETAILS) && !html::FindAttribute(element, "open");
    // Inside xmp and plaintext everything is text, even where the parser
    // reopened formatting elements around it.
    const bool rawText = parent.rawText || html::IsHtml(element, GUMBO_TAG_XMP) ||
                         html::IsHtml(element, GUMBO_TAG_PLAINTEXT);
    stack_.push_back({element, 0, shown.display, shown.whiteSpace, closedDetails, rawText});
    if (observer_)
        observer_->Enter(element, out_.size());
}

void TextRenderer::Close(const Frame& frame)
{
    if (observer_)
        observer_->Leave(frame.node, out_.size());
    switch (frame.display) {
    case Display::Block:
    case Display::Row:
        RequireBreaks(1);
        break;
    case Display::Paragraph:
        RequireBreaks(2);
        break;
    case Display::Cell:
        pendingSpace_ = false;
        if (!stack_.empty() && HasLaterCell(frame.node))
            Tab();
        break;
    default:
        break;
    }
}

// White space after the cut joined to collapsible text changes nothing that
// shows, so the page endings "</body>\n</html>\n" and a comment after the
// end do not count; anything else that the parser joined does.
bool TextRenderer::CrossesCut(const GumboNode* text, const Frame& parent) const
{
    const std::size_t start = text->v.text.start_pos.offset;
    const GumboStringPiece original = text->v.text.original_text;
    if (start + original.length <= cut_)
        return false;
    if (parent.whiteSpace != WhiteSpace::Normal || !original.data)
        return true;
    const std::size_t before = cut_ - start;
    return !html::OnlyWhiteSpaceAndComments(std::string_view(original.data + before, original.length - before));
}

bool TextRenderer::HasLaterCell(const GumboNode* cell) const
{
    const GumboNode* row = cell->parent;
    if (!row)
        return false;
    const GumboVector* siblings = html::Children(row);
    for (unsigned i = unsigned(cell->index_within_parent) + 1; siblings && i < siblings->length; ++i) {
        const auto* sibling = static_cast<const GumboNode*>(siblings->data[i]);
        if (IsCell(sibling) && html::StartOffset(sibling) < cut_)
            return true;
    }
    return false;
}

void TextRenderer::Text(const GumboNode* node, const Frame& parent)
{
    if (parent.closedDetails)
        return;
    const char* text = node->v.text.text;
    std::size_t length = std::strlen(text);
    std::string stripped;
    if (parent.rawText && !removedRawText_.empty()) {
        stripped.assign(text, length);
        EraseAsciiCase(stripped, removedRawText_);
        text = stripped.data();
        length = stripped.size();
    }
    switch (parent.whiteSpace) {
    case WhiteSpace::Normal:
        NormalText(text, length);
        break;
    case WhiteSpace::Pre:
        PreText(text, length, false);
        break;
    case WhiteSpace::PreLine:
        PreText(text, length, true);
        break;
    }
}

void TextRenderer::NormalText(const char* p, std::size_t n)
{
    std::size_t i = 0;
    while (i < n) {
        if (IsSpace(p[i])) {
            if (!lineStart_)
                pendingSpace_ = true;
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < n && !IsSpace(p[j]))
            ++j;
        BeginContent();
        out_.append(p + i, j - i);
        i = j;
        MaybeHandOn();
    }
}

void TextRenderer::PreText(const char* p, std::size_t n, bool collapseSpaces)
{
    for (std::size_t i = 0; i < n; ++i) {
        const char c = p[i];
        if (c == '\n') {
            pendingSpace_ = false;
            HardBreak();
        } else if (collapseSpaces && IsSpace(c)) {
            if (!lineStart_)
                pendingSpace_ = true;
        } else {
            BeginContent();
            out_ += c;
            MaybeHandOn();
        }
    }
}

void TextRenderer::RequireBreaks(int count)
{
    pendingSpace_ = false;
    lineStart_ = true;
    pendingBreaks_ = std::max(pendingBreaks_, count);
}

// Writes what must come before the next visible character: the line breaks
// that blocks asked for (none at the very start, and fewer where breaks are
// already there) or the one space that collapsed white space left.
void TextRenderer::BeginContent()
{
    if (pendingBreaks_ > 0) {
        if (Produced())
            for (int k = trailingBreaks_; k < pendingBreaks_; ++k)
                out_ += "\r\n";
        pendingBreaks_ = 0;
    } else if (pendingSpace_) {
        out_ += ' ';
    }
    pendingSpace_ = false;
    lineStart_ = false;
    trailingBreaks_ = 0;
}

void TextRenderer::HardBreak()
{
    if (pendingBreaks_ > 0 && Produced())
        for (int k = trailingBreaks_; k < pendingBreaks_; ++k, ++trailingBreaks_)
            out_ += "\r\n";
    pendingBreaks_ = 0;
    out_ += "\r\n";
    ++trailingBreaks_;
    pendingSpace_ = false;
    lineStart_ = true;
}

void TextRenderer::Tab()
{
    BeginContent();
    out_ += '\t';
    lineStart_ = true;
}

}  // namespace lexicrawl
