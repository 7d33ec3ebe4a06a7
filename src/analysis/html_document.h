#pragma once
// A page parsed by an HTML5 parser into a document that runs no scripts and
// fetches nothing: the document title, every element in document order with
// its tag name, attributes and rendered inner text, and the rendered text of
// the body. The page is parsed once, at construction; every reading after that
// works on the same tree. A page the parser gives up on is read as well as
// it can be, at worst as an empty document.
//
// Thread-safety: the document is immutable after construction; its const
// members may be called from several threads at once.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <functional>
#include <string_view>
#include <limits>
#include <memory>
#include <string>
#include <vector>

struct GumboInternalNode;
struct GumboInternalOutput;

namespace lexicrawl {

class GumboArena;
class RenderObserver;

class HtmlDocument {
public:
    explicit HtmlDocument(const QString& source);
    ~HtmlDocument();
    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;

    // The text of the first HTML title element, with white space stripped
    // and collapsed as browsers report document.title.
    QString Title() const;

    // Every element in document order (template contents excluded, as they
    // are not part of the document).
    int ElementCount() const { return int(elements_.size()); }
    // The DOM tag name: upper case for HTML elements ("META", "H1"), as
    // written (lower or camel case) for SVG and MathML ones.
    QString TagName(int index) const;
    // TagName(index) == name, without building the name.
    bool TagNameIs(int index, QStringView name) const;
    // LowerAZ(TagName(index)) == name, without building the name.
    bool LowerTagNameIs(int index, QStringView name) const;
    bool HasAttribute(int index, const char* name) const;
    // The attribute's value with character references decoded and line
    // breaks as the source writes them; empty when the attribute is absent.
    QString Attribute(int index, const char* name) const;
    // The element's text as rendered, with CR LF where lines break.
    QString InnerText(int index) const;

    // The rendered text of the body (empty when the page has a frameset
    // instead). Content that starts at or after byte cutOffset of the UTF-8
    // source is left out, so that a caller can render a prefix of the page
    // without parsing it again.
    static constexpr std::size_t kNoCut = std::numeric_limits<std::size_t>::max();
    // Where a browser would show removedRawText as text (inside xmp or
    // plaintext) it is left out too, for a caller that removed it from the
    // source.
    // When the prefix's text cannot be read from this parse (a text node
    // runs across the cut, or a frameset after it replaced the body),
    // crossedCut is set and the text is not that of the prefix.
    // An observer, when given, follows the rendering element by element.
    QString BodyText(std::size_t cutOffset = kNoCut, const std::string& removedRawText = {},
                     bool* crossedCut = nullptr, RenderObserver* observer = nullptr) const;
    // The same text handed to sink in pieces of whole UTF-8 sequences, never
    // held whole.
    void BodyTextTo(const std::function<void(std::string_view)>& sink, std::size_t cutOffset,
                    const std::string& removedRawText, bool* crossedCut) const;

    // The source as the parser read it (UTF-8).
    const QByteArray& Utf8() const { return utf8_; }

    // Whether the html element was closed by an end tag that begins at byte
    // offset of the UTF-8 source (and so that a "</html>" written there is a
    // tag, not text of an attribute, a comment or a script).
    bool ClosesHtmlAt(std::size_t offset) const;

    // Where in the UTF-8 source the start tags of the document's elements
    // stand that are exactly length bytes long, in ascending order. Text
    // that looks like a tag but is part of another tag, of text or of a
    // comment, or a tag the parser dropped, is not among them.
    std::vector<std::size_t> StartTagOffsets(std::size_t length) const;

private:
    // A null answer means the parser gave up on the page.
    GumboInternalOutput* Parse();
    void CollectElements();
    const GumboInternalNode* Body() const;

    QByteArray utf8_;
    std::unique_ptr<GumboArena> arena_;
    GumboInternalOutput* output_ = nullptr;
    std::vector<const GumboInternalNode*> elements_;
};

// The gumbo HTML parser the program was built with ("0.10.1").
QString GumboVersion();

}  // namespace lexicrawl
