#pragma once
// Small readings of parser nodes shared by the document and the text renderer.
//
// Thread-safety: pure functions over an immutable tree.
#include <gumbo.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace lexicrawl::html {

// The element's local name as the DOM reports it: lower case, SVG names in
// their camel case.
std::string LocalName(const GumboNode* element);

// Where the node's own text starts in the UTF-8 source.
std::size_t StartOffset(const GumboNode* node);

const GumboVector* Children(const GumboNode* node);

const GumboAttribute* FindAttribute(const GumboNode* element, const char* name);

bool IsHtml(const GumboNode* node, GumboTag tag);

// Equality that ignores the case of A to Z only.
bool SameAsciiCase(std::string_view a, std::string_view b);

// Whether the text holds nothing but white space and comments, which add
// nothing to a page's body when they follow its end.
bool OnlyWhiteSpaceAndComments(std::string_view s);

}  // namespace lexicrawl::html
