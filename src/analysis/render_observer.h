#pragma once
// Follows a rendering of a page's text element by element, for a reader that
// needs more than the text itself: in which language a passage is written,
// or whether it is code. Offsets are byte offsets into the rendered UTF-8
// text: an element's content lies between its Enter and its Leave offset.
//
// Thread-safety: one observer per rendering.
#include <cstddef>
#include <string>

struct GumboInternalNode;

namespace lexicrawl {

class RenderObserver {
public:
    virtual ~RenderObserver() = default;

    // A rendering of root's subtree begins; nodes that start at or after
    // byte cutOffset of the source are left out of it. A later Begin starts
    // the text afresh.
    virtual void Begin(const GumboInternalNode* root, std::size_t cutOffset) = 0;
    // Only elements that are rendered (not hidden) are entered.
    virtual void Enter(const GumboInternalNode* element, std::size_t offset) = 0;
    virtual void Leave(const GumboInternalNode* element, std::size_t offset) = 0;
    // The rendering is done; text is what it wrote.
    virtual void End(const std::string& text) = 0;
};

}  // namespace lexicrawl
