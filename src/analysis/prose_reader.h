#pragma once
// The prose of a page, read the way a reader reads it: the readable text
// without code (code, pre, kbd, samp, var, tt, math, script-like and
// template elements) and without what the page marks as not to be checked
// or translated (spellcheck="false", translate="no", unless a descendant
// turns it on again), cut into prose words (prose_words.h) and grouped by
// the language their lang attribute declares. On request the alt and title
// texts of images and the title texts of links are read too, each as a text
// of its own, in the language of its element.
//
// Thread-safety: a reader follows one rendering at a time; ReadProseWords is
// safe from any thread.
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "analysis/render_observer.h"
#include "platform/text_hash.h"

namespace lexicrawl {

class ParsedPage;

// The distinct words of one language of a page.
struct LanguageWords {
    // The declared language: the lang attribute as written, trimmed, A to Z
    // lower-cased, "_" read as "-" ("en-us"); empty where no element declares one.
    QString language;
    QStringList words;  // as written, each once, in the order they first occur
};

// The page's prose words, one group per language: first the words no
// language is declared for, then the languages in the order they are first
// declared; no group is empty.
std::vector<LanguageWords> ReadProseWords(const ParsedPage& page, bool altAndTitle);

class ProseReader : public RenderObserver {
public:
    explicit ProseReader(bool altAndTitle) : altAndTitle_(altAndTitle) {}

    void Begin(const GumboInternalNode* root, std::size_t cutOffset) override;
    void Enter(const GumboInternalNode* element, std::size_t offset) override;
    void Leave(const GumboInternalNode* element, std::size_t offset) override;
    void End(const std::string& text) override;

    // The words of the last rendering; empty groups dropped.
    std::vector<LanguageWords> TakeWords();

private:
    // What covers a passage: its language (an index into groups_) and
    // whether something keeps it from being checked.
    struct Context {
        int group = 0;
        bool code = false;
        bool spellcheck = true;
        bool translate = true;
        int Checked() const { return code || !spellcheck || !translate ? -1 : group; }
    };
    struct Run {
        std::size_t begin;
        int group;  // -1: not checked
    };
    struct Group {
        QString language;
        QStringList words;
        TextSet seen;
    };
    struct AttributeText {
        QString text;
        int group;
    };

    Context Apply(Context context, const GumboInternalNode* node);
    int GroupOf(const QString& language);
    void StartRun(std::size_t offset, int group);
    void ReadAttributes(const GumboInternalNode* element, const Context& context);
    void AddWords(const QString& text, int group);

    bool altAndTitle_;
    std::size_t cut_ = 0;
    Context base_;
    std::vector<Context> stack_;
    std::vector<Run> runs_;
    std::vector<AttributeText> attributes_;
    std::vector<Group> groups_;
};

}  // namespace lexicrawl
