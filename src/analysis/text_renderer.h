#pragma once
// Turns a parsed subtree into the text a browser shows for it, the way
// innerText reads a rendered page: script, style, head, template and
// noscript (a browser with scripting on hides it) are left out, and so are
// elements hidden by the hidden attribute or an inline display:none; block
// elements and <br> break lines, paragraphs leave an empty line, white space
// collapses outside preformatted text, table cells are separated by TAB and
// rows end lines. Lines break with CR LF.
//
// Thread-safety: one renderer per call; the tree is only read.
#include <gumbo.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lexicrawl {

class RenderObserver;

class TextRenderer {
public:
    // Nodes that start at or after cutOffset (a byte offset in the UTF-8
    // source) are not rendered.
    explicit TextRenderer(std::size_t cutOffset) : cut_(cutOffset) {}

    // The text of root and its descendants in UTF-8. The root itself is
    // rendered even when it is hidden, as an element's innerText is.
    std::string Render(const GumboNode* root);

    // Hands the text to sink in pieces of about kPieceBytes, each made of
    // whole UTF-8 sequences, instead of gathering it: Render then answers
    // empty text. A page's text need not be held whole to be read.
    using Sink = std::function<void(std::string_view)>;
    static constexpr std::size_t kPieceBytes = 64 * 1024;
    void SetSink(Sink sink) { sink_ = std::move(sink); }

    // Text of raw-text elements that a browser shows as it stands (xmp,
    // plaintext) has this exact text removed, ignoring the case of A to Z.
    void SetRemovedRawText(std::string text) { removedRawText_ = std::move(text); }

    // Tells observer of every element rendered from now on (none by default).
    void SetObserver(RenderObserver* observer) { observer_ = observer; }

    // True when a text node began before the cut and went on after it (the
    // parser joins text across tags it ignores, such as a stray </html>); the
    // text before the cut cannot then be told apart, and the caller must
    // render a parse of the cut source instead.
    bool CrossedCut() const { return crossedCut_; }

    enum class Display { Inline, Block, Paragraph, None, Row, Cell, LineBreak };
    enum class WhiteSpace { Normal, Pre, PreLine };

private:
    struct Frame {
        const GumboNode* node;
        unsigned next;
        Display display;
        WhiteSpace whiteSpace;
        bool closedDetails;
        bool rawText;
    };

    void Open(const GumboNode* element, const Frame& parent);
    void Close(const Frame& frame);
    void Text(const GumboNode* text, const Frame& parent);
    void NormalText(const char* p, std::size_t n);
    void PreText(const char* p, std::size_t n, bool collapseSpaces);
    bool HasLaterCell(const GumboNode* cell) const;
    bool CrossesCut(const GumboNode* text, const Frame& parent) const;

    void MaybeHandOn();
    bool Produced() const { return handedOn_ || !out_.empty(); }

    void RequireBreaks(int count);
    void BeginContent();
    void HardBreak();
    void Tab();

    std::size_t cut_;
    std::string removedRawText_;
    RenderObserver* observer_ = nullptr;
    std::string out_;
    Sink sink_;
    bool handedOn_ = false;  // part of the text went to the sink already
    std::vector<Frame> stack_;
    int pendingBreaks_ = 0;
    int trailingBreaks_ = 0;
    bool pendingSpace_ = false;
    bool lineStart_ = true;
    bool crossedCut_ = false;
};

}  // namespace lexicrawl
