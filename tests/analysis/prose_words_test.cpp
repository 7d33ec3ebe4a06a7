#include <gtest/gtest.h>

#include <QStringList>

#include "analysis/prose_words.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

QStringList Cut(const char* utf8)
{
    QStringList words;
    CutProseWords(QString::fromUtf8(utf8), [&words](QStringView w) { words << w.toString(); });
    return words;
}

}  // namespace

TEST(ProseWords, KeepWhatAReaderReadsAsAWordAndDropTheRest)
{
    struct Case {
        const char* text;
        QStringList words;
    } cases[] = {
        // Inner apostrophes (straight, typographic, modifier letter) and hyphens stay.
        {"Don't stop at five o'clock", {"Don't", "stop", "at", "five", "o'clock"}},
        {"wouldn\xE2\x80\x99t isn\xCA\xBCt", {"wouldn\xE2\x80\x99t", "isn\xCA\xBCt"}},
        {"a well-known re-entry", {"a", "well-known", "re-entry"}},
        // Quotes, brackets and punctuation at the edges are not part of the word.
        {"\xE2\x80\x98Quoted\xE2\x80\x99 \"plain\" 'single' (round) [square] end. Yes! why? \xC2\xABguillemets\xC2\xBB",
         {"Quoted", "plain", "single", "round", "square", "end", "Yes", "why", "guillemets"}},
        {"parents' \xE2\x80\x9C" "done,\xE2\x80\x9D --verbose", {"parents", "done", "verbose"}},
        // Case is kept.
        {"Paris paris PARIS", {"Paris", "paris", "PARIS"}},
        // Tokens with digits.
        {"expression1 a2b 400s 3.11 2024 mp3 x86_64 \xC2\xBD", {}},
        // URLs, e-mail addresses, paths, file names, dotted names.
        {"https://creativecommons.org/licenses/by/4.0/ www.example.org mailto:a@b.c help@example.org", {}},
        {"/usr/bin src/app/core C:\\temp ~/notes config.yaml os.path e.g. i.e.", {}},
        // Identifiers and code.
        {"getAttrString iPhone snake_case_name __init__ key=value f(x) std::vector C++ $HOME #tag @alice <b>", {}},
        // One slash between two words, or punctuation without a space, breaks the token.
        {"and/or end,start yes\xE2\x80\x94no one\xE2\x80\xA6two", {"and", "or", "end", "start", "yes", "no", "one", "two"}},
        // A full stop without its space ends a sentence before a capitalised word.
        {"recieve.The U.S.A ASP.NET Ph.D Node.js", {"recieve", "The"}},
        // Capitals after a capital or after punctuation are not identifiers.
        {"NASA O\xE2\x80\x99Neill Jean-Luc word,Next", {"NASA", "O\xE2\x80\x99Neill", "Jean-Luc", "word", "Next"}},
        // Letters of every script; zero-width spaces and no-break spaces separate.
        {"\xC3\x89lan do\xC4\x9Fru na\xC3\xAFve\xE2\x80\x8B" "caf\xC3\xA9\xC2\xA0" "bar",
         {"\xC3\x89lan", "do\xC4\x9Fru", "na\xC3\xAFve", "caf\xC3\xA9", "bar"}},
        {"", {}},
        {" - \xE2\x80\x94 ' \" ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cut(c.text), c.words) << c.text;
}
