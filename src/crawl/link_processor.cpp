#include "crawl/link_processor.h"

#include <thread>

#include "crawl/robots_gate.h"
#include "crawl/url_resolver.h"
#include "crawl/url_text.h"
#include "platform/escaped_bytes.h"
#include "platform/text.h"
#include "platform/user_message.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

QStringList IgnoreExtensionWords(const QString& text)
{
    QStringList words;
    QString rest = TrimCtl(text);
    while (!rest.isEmpty()) {
        const qsizetype space = rest.indexOf(u' ');
        if (space < 0) {
            words << rest;
            break;
        }
        words << rest.left(space);
        rest = TrimCtl(rest.mid(space + 1));
    }
    return words;
}

QStringList IgnoreUrlPatterns(const QString& text)
{
    return SplitLines(TrimCtl(text));
}

LinkProcessor::LinkProcessor(ProjectDatabase& db, InternalUrls& table, CrawlState& state, QStringList ignoreUrls)
    : db_(db),
      table_(table),
      state_(state),
      ignoreUrls_(std::move(ignoreUrls)),
      masks_(size_t(ignoreUrls_.size())),
      startDomain_(DomainOf(state.startUrl)),
      startHost_(ScopeHost(state.startUrl))
{
    for (const QString& word : IgnoreExtensionWords(state.ignoreExtensionsText))
        extensionNeedles_.push_back(QLatin1Char('.') + LowerAZ(word));
}

LinkProcessor::~LinkProcessor() = default;

void LinkProcessor::ProcessLink(const QString& linkFound, const QString& source, const QString& rel,
                                const QString& anchorFound)
{
    const std::optional<QString> accepted = Accept(linkFound, source);
    if (!accepted)
        return;  // a dropped link leaves no trace
    const QString& link = *accepted;
    if (inTransaction_ && ++batchLinks_ > kBatchLinks)
        RotateBatchTransaction();
    QString anchor = ReplaceEscapedBytes(anchorFound);
    anchor.replace(QLatin1String("\r\n"), QLatin1String(" "));
    if (IsInternal(link)) {
        if (!sitemapOnly_.empty())
            sitemapOnly_.erase(link);
        AddInternalUrl(link);
        InsertLink(link, source, rel, anchor, QStringLiteral("Internal"));
    } else {
        InsertLink(link, source, rel, anchor, QStringLiteral("External"));
    }
}

void LinkProcessor::AddSitemapUrl(const QString& url, const QString& sitemap)
{
    const std::optional<QString> accepted = Accept(url, sitemap);
    if (accepted && inTransaction_ && ++batchLinks_ > kBatchLinks)
        RotateBatchTransaction();
    if (accepted && IsInternal(*accepted) && AddInternalUrl(*accepted))
        sitemapOnly_.insert(*accepted);
}

// The link as the table and LINKS would hold it, or nothing when a rule
// drops it.
std::optional<QString> LinkProcessor::Accept(const QString& linkFound, const QString& source)
{
    QString link = ApplyProtocolRelative(LinkAddressText(linkFound), source);
    bool valid = !HasIgnoredExtension(link);
    if (link.startsWith(QLatin1String("javascript:")))
        valid = false;
    if (valid) {
        link = ResolveAgainstSource(link, source);
        if (state_.options.removeAnchors.load(std::memory_order_relaxed) && link.contains(u'#'))
            link.truncate(link.indexOf(u'#'));
        if (state_.options.removeQueryString.load(std::memory_order_relaxed) && link.contains(u'?'))
            link.truncate(link.indexOf(u'?'));
        valid = !MatchesIgnoreUrl(link);
    }
    if (!valid)
        return std::nullopt;
    // A bare site address loses its final "/"; a path, port or user
    // information keeps it.
    if (link.size() > 1 && link.endsWith(u'/') && StripScheme(link) == HostOf(link) + QLatin1Char('/'))
        link.chop(1);
    return link;
}

// A substring test on the whole link, host and query included.
bool LinkProcessor::HasIgnoredExtension(const QString& link) const
{
    if (extensionNeedles_.empty())
        return false;
    const QString lower = LowerAZ(link);
    // A crawl that reads documents takes them whatever the list says of
    // their own extension; the list's other words still hold.
    const QString document = state_.documents ? DocumentExtensionOf(lower) : QString();
    for (const QString& needle : extensionNeedles_)
        if (lower.contains(needle) && (document.isEmpty() || !document.startsWith(needle)))
            return true;
    return false;
}

// Masks are tried in order and compiled when first reached, so an invalid
// mask fails only when a link gets as far as it.
bool LinkProcessor::MatchesIgnoreUrl(const QString& link)
{
    for (size_t i = 0; i < masks_.size(); ++i) {
        if (!masks_[i])
            masks_[i] = std::make_unique<WildcardMask>(ignoreUrls_[qsizetype(i)]);
        if (masks_[i]->Matches(link))
            return true;
    }
    return false;
}

// Exact, case-sensitive comparisons; two empty values are equal, and the
// scheme plays no part.
bool LinkProcessor::IsInternal(const QString& link) const
{
    if (state_.subdomainScope)
        return ScopeHost(link) == startHost_;
    return DomainOf(link) == startDomain_;
}

bool LinkProcessor::AddInternalUrl(const QString& url)
{
    // Only web pages are fetched: a mail link or a redirect to file:, smb:
    // and the like may share the start URL's (empty) domain, but it is no page.
    if (HasNonWebScheme(url))
        return false;
    if (state_.addedCount.load() >= state_.urlLimit)
        return false;
    if (table_.Contains(url))
        return false;
    if (robots_ && !RobotsAllow(url))
        return false;
    state_.addedCount.fetch_add(1);
    table_.Append(url);
    const QString sql = QStringLiteral("insert into PAGES (URL) values (") + SqlQuote(url) + QStringLiteral(");");
    try {
        if (inTransaction_) {
            db_.Execute(sql);  // a failing statement undoes only itself
        } else {
            Transaction transaction(db_);
            db_.Execute(sql);
            transaction.Commit();
        }
    } catch (const DatabaseError& e) {
        // Rolled back; the URL stays in the table and is crawled.
        const QString text = StatementFailureText(e.Text());
        Report([text] { ReportMessage(text); });
    }
    return true;
}

// Reading a host's robots.txt is a fetch: the store is let go meanwhile,
// as between two transactions of a batch.
bool LinkProcessor::RobotsAllow(const QString& url)
{
    if (leftOutSet_.contains(url))
        return false;
    if (batch_ && !robots_->Knows(url)) {
        CloseBatchTransaction();
        db_.Lock().unlock();
        FlushReports();
        robots_->RulesFor(url);
        db_.Lock().lock();
        OpenBatchTransaction();
        batchLinks_ = 0;
    }
    if (robots_->Allows(url))
        return true;
    if (leftOut_.size() < state_.urlLimit) {
        leftOut_ << url;
        leftOutSet_.insert(url);
    }
    return false;
}

void LinkProcessor::InsertLink(const QString& link, const QString& source, const QString& rel,
                               const QString& anchor, const QString& type)
{
    const QString text =
        state_.options.stripHtmlMarkup.load(std::memory_order_relaxed) ? TrimCtl(StripTags(anchor)) : anchor;
    const BoundStatement insert{"insert into LINKS (URL,LINK,FOLLOW,TYPE,ANCHOR) values (?,?,?,?,?);",
                                {source, link, rel, type, text}};
    try {
        db_.Execute(insert);
    } catch (const DatabaseError& e) {
        const QString text = StatementFailureText(e.Text());
        Report([text] { ReportMessage(UserMessage{QStringLiteral("Error"), text, MessageIcon::None}); });
    }
}

void LinkProcessor::Report(std::function<void()> message)
{
    if (batch_) {
        deferred_.push_back(std::move(message));
        // Some failures end the transaction themselves; start afresh so that
        // later statements are not left outside one.
        if (inTransaction_) {
            CloseBatchTransaction();
            OpenBatchTransaction();
            batchLinks_ = 0;
        }
    } else {
        message();
    }
}

// Lets the statements of other threads that wait for the store run between
// two transactions of a batch.
void LinkProcessor::RotateBatchTransaction()
{
    CloseBatchTransaction();
    db_.Lock().unlock();
    FlushReports();
    std::this_thread::yield();
    db_.Lock().lock();
    OpenBatchTransaction();
    batchLinks_ = 1;
}

void LinkProcessor::BeginBatch()
{
    if (batch_)
        return;
    db_.Lock().lock();
    batch_ = true;
    batchLinks_ = 0;
    OpenBatchTransaction();
}

void LinkProcessor::EndBatch()
{
    if (!batch_)
        return;
    CloseBatchTransaction();
    batch_ = false;
    db_.Lock().unlock();
    FlushReports();
}

// Without a transaction (no database open) the statements run one by one
// and fail as they would outside a batch.
void LinkProcessor::OpenBatchTransaction()
{
    try {
        db_.Execute(QStringLiteral("BEGIN TRANSACTION;"));
        inTransaction_ = true;
    } catch (const DatabaseError&) {
        inTransaction_ = false;
    }
}

void LinkProcessor::CloseBatchTransaction()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    try {
        db_.Execute(QStringLiteral("COMMIT;"));
    } catch (const DatabaseError& e) {
        // Already ended by a failure: nothing to commit, nothing to say.
        if (e.Text().contains(QLatin1String("no transaction is active")))
            return;
        deferred_.push_back([text = StatementFailureText(e.Text())] { ReportMessage(text); });
        try {
            db_.Execute(QStringLiteral("ROLLBACK;"));
        } catch (const DatabaseError&) {
        }
    }
}

void LinkProcessor::FlushReports()
{
    std::vector<std::function<void()>> messages;
    messages.swap(deferred_);
    for (const auto& message : messages)
        message();
}

}  // namespace lexicrawl
