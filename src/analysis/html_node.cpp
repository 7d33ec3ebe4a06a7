#include "analysis/html_node.h"

namespace lexicrawl::html {

namespace {
char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}
}  // namespace

std::string LocalName(const GumboNode* element)
{
    const GumboElement& e = element->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN && e.tag_namespace != GUMBO_NAMESPACE_SVG)
        return gumbo_normalized_tagname(e.tag);
    GumboStringPiece piece = e.original_tag;
    gumbo_tag_from_original_text(&piece);
    if (e.tag_namespace == GUMBO_NAMESPACE_SVG && piece.data) {
        if (const char* svg = gumbo_normalize_svg_tagname(&piece))
            return svg;
    }
    if (!piece.data || piece.length == 0)
        return e.tag != GUMBO_TAG_UNKNOWN ? gumbo_normalized_tagname(e.tag) : std::string();
    std::string name(piece.data, piece.length);
    for (char& c : name)
        c = LowerAscii(c);
    return name;
}

std::size_t StartOffset(const GumboNode* node)
{
    switch (node->type) {
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
        return node->v.element.start_pos.offset;
    case GUMBO_NODE_DOCUMENT:
        return 0;
    default:
        return node->v.text.start_pos.offset;
    }
}

const GumboVector* Children(const GumboNode* node)
{
    if (node->type == GUMBO_NODE_DOCUMENT)
        return &node->v.document.children;
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE)
        return &node->v.element.children;
    return nullptr;
}

const GumboAttribute* FindAttribute(const GumboNode* element, const char* name)
{
    return gumbo_get_attribute(&element->v.element.attributes, name);
}

bool IsHtml(const GumboNode* node, GumboTag tag)
{
    return node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag &&
           node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

bool SameAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// Comments end at the first "-->" or "--!>"; "<!-->" and "<!--->" are
// whole (empty) comments. A comment left open runs to the end.
bool OnlyWhiteSpaceAndComments(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\f') {
            ++i;
            continue;
        }
        if (s.substr(i, 4) != "<!--")
            return false;
        i += 4;
        if (s.substr(i, 1) == ">" || s.substr(i, 2) == "->") {
            i += s[i] == '>' ? 1 : 2;
            continue;
        }
        const std::size_t close = s.find("-->", i);
        const std::size_t bangClose = s.find("--!>", i);
        if (close == std::string_view::npos && bangClose == std::string_view::npos)
            return true;
        i = close < bangClose ? close + 3 : bangClose + 4;
    }
    return true;
}

}  // namespace lexicrawl::html
