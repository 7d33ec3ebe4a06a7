#include "analysis/page_record.h"

#include "analysis/page_facts.h"
#include "analysis/parsed_page.h"
#include "analysis/readable_text.h"
#include "platform/text.h"

namespace lexicrawl {

PageRecord ExtractPageRecord(const QString& source)
{
    const ParsedPage page(source);
    PageRecord record;
    record.title = page.TitleText();
    record.description = FlattenLineBreaks(page.MetaDescription());
    record.h1Lines = SplitLines(page.Headings(u"h1"));
    record.h2Lines = SplitLines(page.Headings(u"h2"));
    record.text = page.ReadableText();
    record.words = SplitLines(ExtractWords(record.text));
    return record;
}

}  // namespace lexicrawl
