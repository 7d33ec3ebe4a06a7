// Runs link processing (resolution, ignore rules, scope, the table of
// internal URLs and its rows) over arbitrary links, options and masks, with a
// project database in memory, and checks what the crawl relies on: every URL
// of the table is unique, the table never exceeds the limit, every table
// entry has its PAGES row, and no kept URL breaks the options that cut it.
//
// Input: LF-separated fields: start URL, option digits (scope, remove
// anchors, remove query strings, strip markup, limit), ignore extensions,
// ignore-URL masks separated by "|", then one link per line.
#include "crawl/internal_urls.h"
#include "crawl/link_processor.h"
#include "crawl/url_text.h"
#include "fuzz_input.h"
#include "silent_platform.h"
#include "store/project_database.h"

#include <QSet>

using namespace lexicrawl;

namespace {

ProjectDatabase& Database()
{
    static ProjectDatabase* db = [] {
        auto* d = new ProjectDatabase(QString(), QString());
        d->PrepareForCrawl(DatabaseLocation::Memory);
        return d;
    }();
    db->Execute(QStringLiteral("DELETE FROM PAGES;"));
    db->Execute(QStringLiteral("DELETE FROM LINKS;"));
    return *db;
}

bool Digit(const QString& flags, int i)
{
    return i < flags.size() && (flags.at(i).unicode() & 1);
}

void CheckTable(ProjectDatabase& db, const InternalUrls& table, const CrawlState& state,
                const std::vector<std::unique_ptr<WildcardMask>>& masks)
{
    const std::vector<InternalUrl> entries = table.Snapshot();
    FUZZ_CHECK(qint64(entries.size()) <= state.urlLimit);
    FUZZ_CHECK(qint64(entries.size()) == state.addedCount.load());
    QSet<QString> seen;
    for (const InternalUrl& entry : entries) {
        FUZZ_CHECK(!seen.contains(entry.page));
        seen.insert(entry.page);
        FUZZ_CHECK(entry.length == QString::number(UrlLength(entry.page)));
        if (state.options.removeAnchors)
            FUZZ_CHECK(!entry.page.contains(u'#'));
        if (state.options.removeQueryString)
            FUZZ_CHECK(!entry.page.contains(u'?'));
        if (state.subdomainScope)
            FUZZ_CHECK(StripScheme(SiteRoot(entry.page)) == StripScheme(SiteRoot(state.startUrl)));
        else
            FUZZ_CHECK(DomainOf(entry.page) == DomainOf(state.startUrl));
        // The masks are tried before a bare site address loses its final
        // "/", so the link that passed is the entry or the entry and "/".
        for (const auto& mask : masks)
            FUZZ_CHECK(!mask->Matches(entry.page) || !mask->Matches(entry.page + QLatin1Char('/')));
    }
    const std::vector<QStringList> rows = db.QueryAll(QStringLiteral("SELECT URL FROM PAGES ORDER BY ID;"));
    FUZZ_CHECK(rows.size() == entries.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        FUZZ_CHECK(rows[i].value(0) == entries[i].page);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InstallSilentPlatform();
    const QStringList fields = fuzz::Fields(fuzz::TextOf(data, size), 5);
    const QString flags = fields.value(1);
    CrawlState state;
    state.startUrl = fields.value(0);
    state.subdomainScope = Digit(flags, 0);
    state.options.removeAnchors = Digit(flags, 1);
    state.options.removeQueryString = Digit(flags, 2);
    state.options.stripHtmlMarkup = Digit(flags, 3);
    state.urlLimit = flags.size() > 4 ? flags.at(4).unicode() % 16 : 8;
    state.ignoreExtensionsText = fields.value(2).trimmed();
    QStringList ignoreUrls = fields.value(3).split(u'|');
    if (fields.value(3).isEmpty())
        ignoreUrls.clear();
    // The masks that compile, to check that no kept URL matches one.
    std::vector<std::unique_ptr<WildcardMask>> masks;
    for (const QString& pattern : ignoreUrls) {
        try {
            masks.push_back(std::make_unique<WildcardMask>(pattern));
        } catch (const MaskError&) {
            masks.clear();  // processing stops at the first link that reaches it
            break;
        }
    }

    ProjectDatabase& db = Database();
    InternalUrls table;
    LinkProcessor processor(db, table, state, ignoreUrls);
    const QStringList links = fields.value(4).split(u'\n');
    try {
        processor.ProcessLink(state.startUrl, QString(), QString(), QString());
        LinkBatch batch(processor);
        for (qsizetype i = 0; i < links.size(); ++i) {
            // Sources as the crawl gives them: a page of the table, or none.
            const QString source = table.Count() > 0 ? table.At(i % table.Count()).page : state.startUrl;
            processor.ProcessLink(links[i], i % 5 == 4 ? QString() : source, QStringLiteral("dofollow"),
                                  links[i].left(8));
        }
    } catch (const MaskError&) {
        // An invalid mask ends the crawl; what was recorded so far must still hold.
    }
    CheckTable(db, table, state, masks);
    return 0;
}
