// Benchmarks of page analysis. Run:
//   build/bin/analysis_bench
// The figure that matters is WholeExtraction: one parse, the facts the
// recorder stores, the readable text and its words, for a 1 MB page;
// WholeExtractionProse is the same with the prose reading.
#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include "analysis/page_facts.h"
#include "analysis/page_recorder.h"
#include "analysis/parsed_page.h"
#include "analysis/prose_reader.h"
#include "analysis/readable_text.h"
#include "generated_page.h"
#include "platform/text.h"
#include "platform/text_hash.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

const QString& Page()
{
    static const QString page = bench::GeneratedDocumentationPage(1'000'000);
    return page;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * Page().toUtf8().size());
}

// The parser alone, with its own allocator and release: the floor under Parse.
void ParserOnly(benchmark::State& state)
{
    const QByteArray utf8 = Page().toUtf8();
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    for (auto _ : state) {
        GumboOutput* output = gumbo_parse_with_options(&options, utf8.constData(), std::size_t(utf8.size()));
        benchmark::DoNotOptimize(output);
        gumbo_destroy_output(&options, output);
    }
    SetBytes(state);
}
BENCHMARK(ParserOnly)->Unit(benchmark::kMillisecond);

void Parse(benchmark::State& state)
{
    for (auto _ : state) {
        HtmlDocument document(Page());
        benchmark::DoNotOptimize(document.ElementCount());
    }
    SetBytes(state);
}
BENCHMARK(Parse)->Unit(benchmark::kMillisecond);

void Facts(benchmark::State& state)
{
    const ParsedPage page(Page());
    for (auto _ : state) {
        benchmark::DoNotOptimize(page.TitleText());
        benchmark::DoNotOptimize(FlattenLineBreaks(page.MetaDescription()));
        benchmark::DoNotOptimize(page.Headings(u"h1"));
        benchmark::DoNotOptimize(page.Headings(u"h2"));
    }
}
BENCHMARK(Facts)->Unit(benchmark::kMillisecond);

void Text(benchmark::State& state)
{
    const ParsedPage page(Page());
    for (auto _ : state)
        benchmark::DoNotOptimize(page.ReadableText());
}
BENCHMARK(Text)->Unit(benchmark::kMillisecond);

void Words(benchmark::State& state)
{
    const QString text = ParsedPage(Page()).ReadableText();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractWords(text));
    state.counters["distinct"] = double(SplitLines(ExtractWords(text)).size());
}
BENCHMARK(Words)->Unit(benchmark::kMillisecond);

// A page's distinct words gathered from its word sequence, as the word
// collector does: with Qt's string hash (arg 0) and with TextSet (arg 1).
void WordSet(benchmark::State& state)
{
    const QStringList occurrences =
        ParsedPage(Page()).ReadableText().toLower().split(QRegularExpression(QStringLiteral("\\W+")),
                                                          Qt::SkipEmptyParts);
    const bool textSet = state.range(0) == 1;
    for (auto _ : state) {
        if (textSet) {
            TextSet seen;
            for (const QString& word : occurrences)
                if (seen.find(QStringView(word)) == seen.end())
                    seen.insert(word);
            benchmark::DoNotOptimize(seen.size());
        } else {
            QSet<QString> seen;
            for (const QString& word : occurrences)
                if (!seen.contains(word))
                    seen.insert(word);
            benchmark::DoNotOptimize(seen.size());
        }
    }
    state.counters["ns/word"] = benchmark::Counter(double(state.iterations()) * double(occurrences.size()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(textSet ? "TextSet" : "QSet<QString>");
}
BENCHMARK(WordSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void WholeExtraction(benchmark::State& state)
{
    for (auto _ : state) {
        const ParsedPage page(Page());
        benchmark::DoNotOptimize(page.TitleText());
        benchmark::DoNotOptimize(FlattenLineBreaks(page.MetaDescription()));
        benchmark::DoNotOptimize(SplitLines(page.Headings(u"h1")));
        benchmark::DoNotOptimize(SplitLines(page.Headings(u"h2")));
        benchmark::DoNotOptimize(SplitLines(page.Words()));
    }
    SetBytes(state);
}
BENCHMARK(WholeExtraction)->Unit(benchmark::kMillisecond);

// The prose reading's share: the rendering with the reader following it,
// and the prose words by language (compare with Text plus Words).
void ProseWords(benchmark::State& state)
{
    const ParsedPage page(Page());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadProseWords(page, false));
    state.counters["distinct"] = double(ReadProseWords(page, false).front().words.size());
}
BENCHMARK(ProseWords)->Unit(benchmark::kMillisecond);

void WholeExtractionProse(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractPageRecord(Page(), TextOptions{TextMode::Prose, false}));
    SetBytes(state);
}
BENCHMARK(WholeExtractionProse)->Unit(benchmark::kMillisecond);

// The fixture pages and a set of generated pages of 40 KB or more.
QStringList RecordingPages()
{
    QStringList pages;
    for (const char* name : {"blog_post", "documentation_page", "hidden_content"}) {
        QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/analysis/") + name + ".html");
        if (file.open(QIODevice::ReadOnly))
            pages << QString::fromUtf8(file.readAll());
    }
    for (unsigned seed = 1; seed <= 7; ++seed)
        pages << bench::GeneratedDocumentationPage(40'000, seed);
    return pages;
}

bool FakeVerdict(const QString& word)
{
    static const QSet<QString> unknown{"recieve", "teh", "seperate", "occured", "definately", "cfg"};
    return !unknown.contains(word);
}

// Whole recordings into an in-memory project, with a verdict that knows
// most of the vocabulary.
void Recordings(benchmark::State& state)
{
    const QStringList pages = RecordingPages();
    int64_t bytes = 0;
    for (const QString& page : pages)
        bytes += page.toUtf8().size();
    ProjectDatabase db(QDir::tempPath() + QLatin1Char('/'), QString());
    if (!db.PrepareForCrawl(DatabaseLocation::Memory)) {
        state.SkipWithError("no in-memory database");
        return;
    }
    PageRecorder recorder(db, &FakeVerdict);
    int64_t recorded = 0;
    for (auto _ : state) {
        const QString& page = pages[int(recorded % pages.size())];
        recorder.RecordPage(QStringLiteral("https://example.com/p%1").arg(recorded), page);
        ++recorded;
    }
    state.counters["pages/s"] = benchmark::Counter(double(recorded), benchmark::Counter::kIsRate);
    state.counters["avg_page_bytes"] = double(bytes) / double(pages.size());
}
BENCHMARK(Recordings)->Unit(benchmark::kMillisecond);

// Only the part that needs the dictionary and the database, for records
// read beforehand: what the recorder's thread spends per page when the
// reading is done elsewhere.
void RecordWritesOnly(benchmark::State& state)
{
    std::vector<PageRecord> records;
    for (const QString& page : RecordingPages())
        records.push_back(ExtractPageRecord(page));
    ProjectDatabase db(QDir::tempPath() + QLatin1Char('/'), QString());
    if (!db.PrepareForCrawl(DatabaseLocation::Memory)) {
        state.SkipWithError("no in-memory database");
        return;
    }
    PageRecorder recorder(db, &FakeVerdict);
    int64_t recorded = 0;
    for (auto _ : state) {
        recorder.Write(QStringLiteral("https://example.com/p%1").arg(recorded), records[recorded % records.size()]);
        ++recorded;
    }
    state.counters["pages/s"] = benchmark::Counter(double(recorded), benchmark::Counter::kIsRate);
}
BENCHMARK(RecordWritesOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
