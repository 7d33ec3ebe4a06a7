#include "analysis/prose_reader.h"

#include <gumbo.h>

#include <algorithm>

#include "analysis/html_node.h"
#include "analysis/parsed_page.h"
#include "analysis/prose_words.h"

namespace lexicrawl {

namespace {

// Elements whose text is code, input or markup rather than prose.
bool IsCodeElement(const GumboNode* element)
{
    const GumboElement& e = element->v.element;
    if (e.tag_namespace == GUMBO_NAMESPACE_MATHML)
        return true;
    if (e.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (e.tag) {
    case GUMBO_TAG_CODE: case GUMBO_TAG_PRE: case GUMBO_TAG_KBD: case GUMBO_TAG_SAMP: case GUMBO_TAG_VAR:
    case GUMBO_TAG_TT: case GUMBO_TAG_XMP: case GUMBO_TAG_LISTING: case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_MATH:
        return true;
    default:
        return false;
    }
}

QString AttributeValue(const GumboNode* element, const char* name)
{
    const GumboAttribute* attribute = html::FindAttribute(element, name);
    return attribute ? QString::fromUtf8(attribute->value) : QString();
}

QString NormalisedLanguage(const char* value)
{
    QString language = QString::fromUtf8(value).trimmed();
    for (QChar& c : language) {
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
        else if (c == u'_')
            c = u'-';
    }
    return language;
}

// An enumerated attribute's state: 1 for onValue or the empty value, 0 for
// offValue, -1 when absent or invalid (inherited).
int SwitchState(const GumboNode* element, const char* name, const char* onValue, const char* offValue)
{
    const GumboAttribute* attribute = html::FindAttribute(element, name);
    if (!attribute)
        return -1;
    const std::string_view value(attribute->value);
    if (value.empty() || html::SameAsciiCase(value, onValue))
        return 1;
    return html::SameAsciiCase(value, offValue) ? 0 : -1;
}

}  // namespace

std::vector<LanguageWords> ReadProseWords(const ParsedPage& page, bool altAndTitle)
{
    ProseReader reader(altAndTitle);
    page.ReadableText(&reader);
    return reader.TakeWords();
}

void ProseReader::Begin(const GumboNode* root, std::size_t cutOffset)
{
    cut_ = cutOffset;
    stack_.clear();
    runs_.clear();
    attributes_.clear();
    groups_.clear();
    groups_.push_back({});  // the page's own language, where nothing declares one
    // The root inherits from its ancestors (the html element's lang).
    std::vector<const GumboNode*> ancestors;
    for (const GumboNode* n = root ? root->parent : nullptr; n; n = n->parent)
        ancestors.push_back(n);
    base_ = Context();
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        base_ = Apply(base_, *it);
}

void ProseReader::Enter(const GumboNode* element, std::size_t offset)
{
    const Context context = Apply(stack_.empty() ? base_ : stack_.back(), element);
    stack_.push_back(context);
    StartRun(offset, context.Checked());
    if (altAndTitle_ && element->type == GUMBO_NODE_ELEMENT)
        ReadAttributes(element, context);
}

void ProseReader::Leave(const GumboNode*, std::size_t offset)
{
    if (!stack_.empty())
        stack_.pop_back();
    StartRun(offset, stack_.empty() ? -1 : stack_.back().Checked());
}

void ProseReader::End(const std::string& text)
{
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        const Run& run = runs_[i];
        const std::size_t end = i + 1 < runs_.size() ? runs_[i + 1].begin : text.size();
        if (run.group >= 0 && end > run.begin)
            AddWords(QString::fromUtf8(text.data() + run.begin, qsizetype(end - run.begin)), run.group);
    }
    for (const AttributeText& attribute : attributes_)
        AddWords(attribute.text, attribute.group);
}

std::vector<LanguageWords> ProseReader::TakeWords()
{
    std::vector<LanguageWords> words;
    for (Group& group : groups_) {
        if (group.words.isEmpty())
            continue;
        words.push_back({group.language, std::move(group.words)});
    }
    groups_.clear();
    return words;
}

ProseReader::Context ProseReader::Apply(Context context, const GumboNode* node)
{
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
        return context;
    if (const GumboAttribute* lang = html::FindAttribute(node, "lang"))
        context.group = GroupOf(NormalisedLanguage(lang->value));
    context.code = context.code || IsCodeElement(node);
    if (const int state = SwitchState(node, "spellcheck", "true", "false"); state >= 0)
        context.spellcheck = state == 1;
    if (const int state = SwitchState(node, "translate", "yes", "no"); state >= 0)
        context.translate = state == 1;
    return context;
}

int ProseReader::GroupOf(const QString& language)
{
    for (std::size_t i = 0; i < groups_.size(); ++i)
        if (groups_[i].language == language)
            return int(i);
    groups_.push_back({language, {}, {}});
    return int(groups_.size() - 1);
}

// A new run at every change of what covers the text, so that a word never
// runs across the edge of a passage in another language or of code; inline
// markup inside one passage ("un<b>believ</b>able") joins as the text does.
void ProseReader::StartRun(std::size_t offset, int group)
{
    if (!runs_.empty() && runs_.back().group == group)
        return;
    if (!runs_.empty() && runs_.back().begin == offset) {
        runs_.back().group = group;
        if (runs_.size() > 1 && runs_[runs_.size() - 2].group == group)
            runs_.pop_back();
        return;
    }
    runs_.push_back({offset, group});
}

// The link's title, and the alt and title of the images right inside the
// element: images are never entered, as they render no text.
void ProseReader::ReadAttributes(const GumboNode* element, const Context& context)
{
    if (html::IsHtml(element, GUMBO_TAG_A) && context.Checked() >= 0)
        attributes_.push_back({AttributeValue(element, "title"), context.group});
    const GumboVector* children = html::Children(element);
    for (unsigned i = 0; children && i < children->length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children->data[i]);
        if (!html::IsHtml(child, GUMBO_TAG_IMG) || html::StartOffset(child) >= cut_)
            continue;
        const Context image = Apply(context, child);
        if (image.Checked() < 0)
            continue;
        attributes_.push_back({AttributeValue(child, "alt"), image.group});
        attributes_.push_back({AttributeValue(child, "title"), image.group});
    }
}

void ProseReader::AddWords(const QString& text, int group)
{
    if (text.isEmpty())
        return;
    QString prose = text;
    prose.remove(QChar(0x00AD));  // a word split by a soft hyphen is one word
    Group& target = groups_[std::size_t(group)];
    QString w;  // reused: most occurrences repeat a word already seen
    CutProseWords(prose, [&target, &w](QStringView word) {
        w.resize(word.size());  // keeps its capacity
        std::copy(word.begin(), word.end(), w.begin());
        if (target.seen.find(QStringView(w)) == target.seen.end()) {
            target.seen.insert(w);
            target.words.append(w);
        }
    });
}

}  // namespace lexicrawl
