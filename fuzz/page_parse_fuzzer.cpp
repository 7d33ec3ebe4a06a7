// Parses arbitrary page text once and reads every fact, the readable text
// and the words from it, as page recording does, and checks them against the
// rules: the words are distinct lower-cased runs of word characters in order,
// the readable text has no soft hyphens, the stored title is a cut of the
// source, and the text read from the shared parse equals the text read from
// a parse of its own.
#include "analysis/page_facts.h"
#include "analysis/parsed_page.h"
#include "analysis/readable_text.h"
#include "fuzz_input.h"
#include "platform/text.h"

#include <QSet>

using namespace lexicrawl;

namespace {

bool IsWordChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= 0x00C0 && c <= 0x00FF);
}

void CheckWords(const QString& words)
{
    FUZZ_CHECK(words.isEmpty() || words.endsWith(QLatin1String("\r\n")));
    const QStringList list = SplitLines(words);
    FUZZ_CHECK(JoinLines(list) == words);
    QSet<QString> seen;
    for (const QString& word : list) {
        FUZZ_CHECK(!word.isEmpty());
        FUZZ_CHECK(!seen.contains(word));
        seen.insert(word);
        for (const QChar c : word)
            FUZZ_CHECK(IsWordChar(c.unicode()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString source = fuzz::TextOf(data, size);
    const ParsedPage page(source);
    const QString title = page.TitleText();
    FUZZ_CHECK(title.isEmpty() || source.contains(title) || !source.isValidUtf16());
    page.DocumentTitle();
    page.MetaDescription();
    for (const char16_t* tag : {u"h1", u"h2", u"h3"}) {
        const QString headings = page.Headings(QStringView(tag));
        FUZZ_CHECK(headings.isEmpty() || headings.endsWith(QLatin1String("\r\n")));
    }
    const QString text = page.ReadableText();
    FUZZ_CHECK(!text.contains(QChar(0x00AD)));
    FUZZ_CHECK(text == ExtractReadableText(source));
    const QString words = page.Words();
    CheckWords(words);
    FUZZ_CHECK(words == ExtractWords(text));
    return 0;
}
