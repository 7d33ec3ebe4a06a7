#include "analysis/html_nesting.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace lexicrawl::html {

namespace {

// How far down the stack an end tag or a self-closing start tag looks for
// its element; a stray end tag deeper than that is passed on as it is.
constexpr std::size_t kMatchWindow = 64;

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
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
    Scanner(const QByteArray& utf8, int maxDepth) : in_(utf8), maxDepth_(std::size_t(maxDepth)) {}

    QByteArray Run();

private:
    std::size_t Find(std::string_view needle, std::size_t from) const
    {
        const std::string_view all(in_.constData(), std::size_t(in_.size()));
        return all.find(needle, from);
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

    const QByteArray& in_;
    std::size_t maxDepth_;
    std::vector<OpenElement> stack_;
    QByteArray out_;
    std::size_t copied_ = 0;  // in_ up to here is in out_ (once something was dropped)
    bool changed_ = false;
};

std::size_t Scanner::TagEnd(std::size_t from) const
{
    const std::size_t n = std::size_t(in_.size());
    char quote = 0;
    for (std::size_t i = from; i < n; ++i) {
        const char c = in_[qsizetype(i)];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            // Quotes only open a value after "=" (possibly spaced).
            std::size_t k = i;
            while (k > from && IsSpace(in_[qsizetype(k - 1)]))
                --k;
            if (k > from && in_[qsizetype(k - 1)] == '=')
                quote = c;
        } else if (c == '>') {
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
        const char c = in_[qsizetype(pos)];
        if (IsSpace(c) || c == '/' || c == '>')
            break;
        name += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
        ++pos;
    }
    return name;
}

// The position of the "<" of the end tag that closes a raw-text element.
std::size_t Scanner::SkipRawText(const std::string& name, std::size_t from) const
{
    const std::size_t n = std::size_t(in_.size());
    for (std::size_t at = Find("</", from); at != std::string_view::npos; at = Find("</", at + 2)) {
        std::size_t k = 0;
        while (k < name.size() && at + 2 + k < n) {
            char c = in_[qsizetype(at + 2 + k)];
            c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
            if (c != name[k])
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
    if (!changed_) {
        out_.reserve(in_.size());
        changed_ = true;
    }
    out_.append(in_.constData() + copied_, qsizetype(from - copied_));
    copied_ = to;
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
    if (IsVoid(name) || in_[qsizetype(gt - 1)] == '/')
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
        const void* hit = std::memchr(in_.constData() + pos, '<', n - pos);
        if (!hit)
            break;
        const std::size_t lt = std::size_t(static_cast<const char*>(hit) - in_.constData());
        const char next = lt + 1 < n ? in_[qsizetype(lt + 1)] : '\0';
        if (in_.mid(qsizetype(lt), 4) == "<!--") {
            const std::size_t close = Find("-->", lt + 2);
            pos = close == std::string_view::npos ? n : close + 3;
        } else if (next == '!' || next == '?') {
            const std::size_t gt = Find(">", lt + 1);
            pos = gt == std::string_view::npos ? n : gt + 1;
        } else if (next == '/' && lt + 2 < n && IsAsciiLetter(in_[qsizetype(lt + 2)])) {
            EndTag(lt, pos);
        } else if (IsAsciiLetter(next)) {
            StartTag(lt, pos);
        } else {
            pos = lt + 1;
        }
    }
    if (!changed_)
        return in_;
    out_.append(in_.constData() + copied_, qsizetype(n - copied_));
    return out_;
}

}  // namespace

QByteArray LimitNesting(const QByteArray& utf8, int maxDepth)
{
    // A page with fewer tags than the bound cannot nest deeper than it.
    if (utf8.count('<') <= maxDepth)
        return utf8;
    return Scanner(utf8, maxDepth).Run();
}

}  // namespace lexicrawl::html
