#pragma once
// Link processing: makes one link absolute against its page, drops it when an
// ignore rule matches, cuts fragments and query strings as the options say,
// classifies it as internal or external to the crawled site, appends a new
// internal URL to the table of internal URLs and records the link in LINKS.
//
// Thread-safety: one processor belongs to one collector thread. The table and
// the database take their own locks; the crawl state is read as CrawlState
// documents.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "crawl/crawl_state.h"
#include "crawl/internal_urls.h"
#include "crawl/wildcard_mask.h"
#include "platform/text_hash.h"

namespace lexicrawl {

class ProjectDatabase;
class RobotsGate;

class LinkProcessor {
public:
    // ignoreUrls: one wildcard mask per line of the Ignore URLs box. Reads
    // StartUrl, SubdomainScope, UrlLimit and IgnoreExtensionsText once, here.
    LinkProcessor(ProjectDatabase& db, InternalUrls& table, CrawlState& state, QStringList ignoreUrls);
    ~LinkProcessor();

    // Resolves, filters, classifies and records one link. Database failures
    // are reported to the user and the crawl goes on; an invalid ignore mask
    // throws MaskError.
    void ProcessLink(const QString& link, const QString& source, const QString& rel, const QString& anchor);

    // Appends url when it names no scheme other than http and https, is new,
    // the limit allows and robots.txt (when asked to obey it) does, with its
    // PAGES row; answers whether it did.
    bool AddInternalUrl(const QString& url);

    // From now on, internal URLs that robots.txt keeps from the crawler are
    // not appended but listed (LeftOutByRobots). The gate must outlive the
    // processor's use.
    void ObeyRobots(RobotsGate* gate) { robots_ = gate; }
    // Each URL robots.txt kept out, once, in the order met; at most as many
    // as the limit allows the table.
    const QStringList& LeftOutByRobots() const { return leftOut_; }

    // A page URL read from a sitemap: filtered and scoped as a link is, but
    // without a LINKS row. One it appends counts as found only in a sitemap
    // until some link leads to it.
    void AddSitemapUrl(const QString& url, const QString& sitemap);
    // The pages appended from a sitemap that no link processed since leads to.
    bool FoundOnlyInSitemap(const QString& page) const { return sitemapOnly_.contains(page); }

    // Between BeginBatch and EndBatch the statements of the links processed
    // share transactions of up to kBatchLinks links each instead of one
    // commit per statement; the store lock is held meanwhile, and failure
    // messages wait until the lock is released so that a message box never
    // waits on a UI thread that waits for the store. A failing statement
    // still loses only itself. Use LinkBatch rather than calling these.
    void BeginBatch();
    void EndBatch();
    static constexpr int kBatchLinks = 256;
    // Inserts one LINKS row; type is "Internal" or "External".
    void InsertLink(const QString& link, const QString& source, const QString& rel, const QString& anchor,
                    const QString& type);

private:
    std::optional<QString> Accept(const QString& linkFound, const QString& source);
    bool RobotsAllow(const QString& url);
    bool HasIgnoredExtension(const QString& link) const;
    bool MatchesIgnoreUrl(const QString& link);
    bool IsInternal(const QString& link) const;
    void Report(std::function<void()> message);
    void OpenBatchTransaction();
    void RotateBatchTransaction();
    void CloseBatchTransaction();
    void FlushReports();

    ProjectDatabase& db_;
    InternalUrls& table_;
    CrawlState& state_;
    std::vector<QString> extensionNeedles_;  // "." + lower-cased word
    QStringList ignoreUrls_;
    std::vector<std::unique_ptr<WildcardMask>> masks_;  // compiled on first use
    QString startDomain_;
    QString startHost_;  // ScopeHost(StartUrl)
    bool batch_ = false;          // a batch is open and holds the store lock
    bool inTransaction_ = false;  // the batch's transaction is open
    int batchLinks_ = 0;          // links processed in the open transaction
    std::vector<std::function<void()>> deferred_;  // messages held back by the batch
    RobotsGate* robots_ = nullptr;
    QStringList leftOut_;
    TextSet leftOutSet_;
    TextSet sitemapOnly_;
};

// Processes the links of one page in batches: see LinkProcessor::BeginBatch.
// Thread-safety: lives on the processor's thread, within one scope.
class LinkBatch {
public:
    explicit LinkBatch(LinkProcessor& processor) : processor_(processor) { processor_.BeginBatch(); }
    ~LinkBatch() { processor_.EndBatch(); }
    LinkBatch(const LinkBatch&) = delete;
    LinkBatch& operator=(const LinkBatch&) = delete;

private:
    LinkProcessor& processor_;
};

// The words of an Ignore Extensions text: each ends at the next space, and
// the rest is trimmed before the next is taken.
QStringList IgnoreExtensionWords(const QString& text);

// The patterns of an Ignore URLs text: trimmed at both ends, one per line.
QStringList IgnoreUrlPatterns(const QString& text);

}  // namespace lexicrawl
