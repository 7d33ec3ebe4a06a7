#include "analysis/page_record.h"

#include "analysis/page_facts.h"
#include "analysis/parsed_page.h"
#include "analysis/readable_text.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

constexpr qsizetype kMaxContextSource = 4 * 1024 * 1024;  // characters of source

}  // namespace

PageRecord ExtractPageRecord(const QString& source, const TextOptions& text)
{
    const ParsedPage page(source);
    PageRecord record;
    record.title = page.TitleText();
    record.description = FlattenLineBreaks(page.MetaDescription());
    record.h1Lines = SplitLines(page.Headings(u"h1"));
    record.h2Lines = SplitLines(page.Headings(u"h2"));
    // The readable text is kept for the contexts of unknown words; a very
    // large page has its words read piece by piece and keeps no text.
    const bool keepText = source.size() <= kMaxContextSource;
    if (keepText && text.wordEvidence) {
        RepeatedWordFinder repeats;
        record.text = page.ReadableText(&repeats);
        record.repeatedWords = repeats.Take();
    } else if (keepText) {
        record.text = page.ReadableText();
    }
    if (text.Prose())
        record.proseWords = ReadProseWords(page, text.checkAltAndTitle);
    else
        record.words = keepText ? DistinctWords(record.text) : SplitLines(page.Words());
    return record;
}

void SplitTextWords(PageRecord& record, const TextOptions& text)
{
    if (text.wordEvidence && !record.proseWords.empty())
        record.textWords = DistinctWords(record.text);
}

}  // namespace lexicrawl
