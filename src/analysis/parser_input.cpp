#include "analysis/parser_input.h"

#include "platform/escaped_bytes.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace lexicrawl::html {

namespace {

// How far down the stack an end tag or a self-closing start tag looks for
// its element; a stray end tag deeper than that is passed on as it is.
constexpr std::size_t kMatchWindow = 64;

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

using Names = std::vector<std::string_view>;

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool OneOf(std::string_view name, const Names& names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoid(std::string_view name)
{
    return OneOf(name, {"area", "base", "br", "col", "embed", "hr", "img", "input", "keygen", "link", "meta",
                        "param", "source", "track", "wbr", "basefont", "bgsound", "frame", "image"});
}

// Elements whose content the tokenizer reads as text up to their end tag.
bool IsRawText(std::string_view name)
{
    return OneOf(name, {"script", "style", "xmp", "iframe", "noembed", "noframes", "noscript", "textarea", "title"});
}

bool MayBeLeftOut(std::string_view name)
{
    return !OneOf(name, {"html", "head", "body", "h1", "h2", "h3", "h4", "h5", "h6", "table", "caption",
                         "colgroup", "tbody", "thead", "tfoot", "tr", "td", "th", "select", "option", "optgroup",
                         "svg", "math", "template", "frameset", "form", "pre", "listing", "plaintext"});
}

// The names that a start tag of name closes when one of them is open.
const Names& ClosedBy(std::string_view name)
{
    static const Names none, p{"p"}, li{"li"}, definition{"dt", "dd"}, cell{"td", "th"}, row{"tr", "td", "th"},
        option{"option"};
    if (name == "p")
        return p;
    if (name == "li")
        return li;
    if (name == "dt" || name == "dd")
        return definition;
    if (name == "td" || name == "th")
        return cell;
    if (name == "tr")
        return row;
    if (name == "option")
        return option;
    return none;
}

struct OpenElement {
    std::string name;
    bool leftOut;
};

class Scanner {
public:
    Scanner(QStringView source, int maxDepth) : in_(source), maxDepth_(std::size_t(maxDepth)) {}

    QByteArray Run();

private:
    char16_t At(std::size_t i) const { return in_[qsizetype(i)].unicode(); }
    std::size_t Find(std::u16string_view needle, std::size_t from) const
    {
        const std::u16string_view all(reinterpret_cast<const char16_t*>(in_.data()), std::size_t(in_.size()));
        return all.find(needle, from);
    }
    bool StartsAt(std::size_t at, std::u16string_view text) const
    {
        return at + text.size() <= std::size_t(in_.size()) &&
               std::u16string_view(reinterpret_cast<const char16_t*>(in_.data()) + at, text.size()) == text;
    }
    std::size_t TagEnd(std::size_t from) const;
    std::string NameAt(std::size_t& pos) const;
    std::size_t SkipRawText(const std::string& name, std::size_t from) const;
    void StartTag(std::size_t lt, std::size_t& pos);
    void EndTag(std::size_t lt, std::size_t& pos);
    // Index in stack_ of the nearest open element named one of names, within
    // the match window; npos when none.
    std::size_t FindOpen(const Names& names) const;
    void Drop(std::size_t from, std::size_t to);
    void Insert(std::size_t at, const char* text);
    void CutTextRun(std::size_t to);
    std::size_t CutPoint(std::size_t from, std::size_t to) const;

    QStringView in_;
    std::size_t maxDepth_;
    std::vector<OpenElement> stack_;
    QByteArray out_;          // UTF-8, lone surrogates as U+FFFD
    std::size_t copied_ = 0;  // in_ up to here is in out_
    std::size_t runStart_ = 0;  // where the text run being read began, or its last cut
};

std::size_t Scanner::TagEnd(std::size_t from) const
{
    const std::size_t n = std::size_t(in_.size());
    char16_t quote = 0;
    for (std::size_t i = from; i < n; ++i) {
        const char16_t c = At(i);
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == u'"' || c == u'\'') {
            // Quotes only open a value after "=" (possibly spaced).
            std::size_t k = i;
            while (k > from && IsSpace(At(k - 1)))
                --k;
            if (k > from && At(k - 1) == u'=')
                quote = c;
        } else if (c == u'>') {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string Scanner::NameAt(std::size_t& pos) const
{
    std::string name;
    const std::size_t n = std::size_t(in_.size());
    while (pos < n) {
        const char16_t c = At(pos);
        if (IsSpace(c) || c == u'/' || c == u'>')
            break;
        // Names are compared with ASCII ones; any other character only has
        // to stay unequal to them.
        name += (c >= u'A' && c <= u'Z') ? char(c + 32) : c < 0x80 ? char(c) : '\x80';
        ++pos;
    }
    return name;
}

// The position of the "<" of the end tag that closes a raw-text element.
std::size_t Scanner::SkipRawText(const std::string& name, std::size_t from) const
{
    const std::size_t n = std::size_t(in_.size());
    for (std::size_t at = Find(u"</", from); at != std::u16string_view::npos; at = Find(u"</", at + 2)) {
        std::size_t k = 0;
        while (k < name.size() && at + 2 + k < n) {
            char16_t c = At(at + 2 + k);
            c = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
            if (c != char16_t(static_cast<unsigned char>(name[k])))
                break;
            ++k;
        }
        if (k == name.size())
            return at;
    }
    return n;
}

std::size_t Scanner::FindOpen(const Names& names) const
{
    const std::size_t low = stack_.size() > kMatchWindow ? stack_.size() - kMatchWindow : 0;
    for (std::size_t i = stack_.size(); i > low; --i) {
        if (OneOf(stack_[i - 1].name, names))
            return i - 1;
    }
    return std::string_view::npos;
}

void Scanner::Drop(std::size_t from, std::size_t to)
{
    out_.append(EncodeUtf8Replacing(in_.sliced(qsizetype(copied_), qsizetype(from - copied_))));
    copied_ = to;
}

void Scanner::Insert(std::size_t at, const char* text)
{
    Drop(at, at);
    out_.append(text);
}

bool IsAsciiAlnum(char16_t c)
{
    return IsAsciiLetter(c) || (c >= u'0' && c <= u'9');
}

// A place in [from, to) where the run can be cut: after white space, else
// between two letters or digits with no "&" shortly before (a character
// reference is never split); npos when there is none.
std::size_t Scanner::CutPoint(std::size_t from, std::size_t to) const
{
    for (std::size_t i = from; i < to; ++i) {
        if (IsSpace(At(i)))
            return i + 1;
    }
    constexpr std::size_t kReferenceReach = 40;
    std::size_t lastAmp = std::string_view::npos;
    for (std::size_t i = from > kReferenceReach ? from - kReferenceReach : 0; i < from; ++i)
        lastAmp = At(i) == u'&' ? i : lastAmp;
    for (std::size_t i = from; i + 1 < to; ++i) {
        if (At(i) == u'&')
            lastAmp = i;
        const bool nearReference = lastAmp != std::string_view::npos && i - lastAmp < kReferenceReach;
        if (!nearReference && IsAsciiAlnum(At(i)) && IsAsciiAlnum(At(i + 1)))
            return i + 1;
    }
    return std::string_view::npos;
}

// Cuts the text run from runStart_ up to to (exclusive) into pieces of about
// kTextRunBytes.
void Scanner::CutTextRun(std::size_t to)
{
    const std::size_t run = std::size_t(kTextRunBytes);
    while (to > runStart_ && to - runStart_ > run) {
        const std::size_t cut = CutPoint(runStart_ + run, std::min(to, runStart_ + 2 * run));
        if (cut == std::string_view::npos || cut >= to) {
            runStart_ = std::min(to, runStart_ + 2 * run);
            continue;
        }
        Insert(cut, "<!---->");
        runStart_ = cut;
    }
}

void Scanner::StartTag(std::size_t lt, std::size_t& pos)
{
    pos = lt + 1;
    const std::string name = NameAt(pos);
    const std::size_t gt = TagEnd(pos);
    if (gt == std::string_view::npos) {
        pos = std::size_t(in_.size());
        return;
    }
    pos = gt + 1;
    if (IsVoid(name) || At(gt - 1) == u'/')
        return;
    if (IsRawText(name)) {
        pos = SkipRawText(name, pos);
        return;
    }
    if (name == "plaintext") {
        pos = std::size_t(in_.size());
        return;
    }
    if (const std::size_t open = FindOpen(ClosedBy(name)); open != std::string_view::npos)
        stack_.resize(open);
    const bool leaveOut = stack_.size() >= maxDepth_ && MayBeLeftOut(name);
    if (leaveOut)
        Drop(lt, pos);
    stack_.push_back({name, leaveOut});
}

void Scanner::EndTag(std::size_t lt, std::size_t& pos)
{
    pos = lt + 2;
    const std::string name = NameAt(pos);
    const std::size_t gt = TagEnd(pos);
    pos = gt == std::string_view::npos ? std::size_t(in_.size()) : gt + 1;
    const std::size_t open = FindOpen(Names{name});
    if (open == std::string_view::npos)
        return;
    if (stack_[open].leftOut)
        Drop(lt, pos);
    stack_.resize(open);
}

QByteArray Scanner::Run()
{
    const std::size_t n = std::size_t(in_.size());
    std::size_t pos = 0;
    while (pos < n) {
        const qsizetype hit = in_.indexOf(u'<', qsizetype(pos));
        if (hit < 0)
            break;
        const std::size_t lt = std::size_t(hit);
        const char16_t next = lt + 1 < n ? At(lt + 1) : u'\0';
        const bool markup = next == u'!' || next == u'?' || next == u'/' || IsAsciiLetter(next);
        if (!markup) {
            pos = lt + 1;
            continue;
        }
        CutTextRun(lt);
        if (StartsAt(lt, u"<!--")) {
            const std::size_t close = Find(u"-->", lt + 2);
            pos = close == std::u16string_view::npos ? n : close + 3;
        } else if (StartsAt(lt, u"<![CDATA[")) {
            const std::size_t close = Find(u"]]>", lt + 9);
            pos = close == std::u16string_view::npos ? n : close + 3;
        } else if (next == u'!' || next == u'?' || (next == u'/' && !(lt + 2 < n && IsAsciiLetter(At(lt + 2))))) {
            // Declarations, processing instructions and "</" without a name
            // are read up to the next ">" (bogus comments).
            const std::size_t gt = Find(u">", lt + 1);
            pos = gt == std::u16string_view::npos ? n : gt + 1;
        } else if (next == u'/') {
            EndTag(lt, pos);
        } else if (IsAsciiLetter(next)) {
            StartTag(lt, pos);
        }
        runStart_ = pos;
    }
    CutTextRun(n);
    Drop(n, n);
    return std::move(out_);
}

}  // namespace

QByteArray BoundParserInput(QStringView source, int maxDepth)
{
    // A short page with fewer tags than the bound needs nothing.
    if (source.size() <= kTextRunBytes && source.count(u'<') <= maxDepth)
        return EncodeUtf8Replacing(source);
    return Scanner(source, maxDepth).Run();
}

}  // namespace lexicrawl::html
