#include "crawl/fetcher.h"

#include "crawl/charset_decoder.h"
#include "crawl/document_kind.h"
#include "crawl/http_transfer.h"
#include "crawl/page_text.h"
#include "crawl/url_resolver.h"
#include "crawl/url_text.h"
#include "crawl/text_body.h"
#include "platform/escaped_bytes.h"

#include <curl/curl.h>

#include <algorithm>
#include <exception>

namespace lexicrawl {

namespace {

bool IsSuccess(int status)
{
    return status >= 200 && status <= 299;
}

bool IsRedirect(const TransferOutcome& outcome)
{
    return outcome.statusCode >= 300 && outcome.statusCode <= 399 && outcome.statusCode != 304 &&
           outcome.hasLocation;
}

// The URL as libcurl wants it: UTF-8 (an escaped byte as the byte itself),
// with spaces, control characters and non-ASCII bytes of the path and query
// percent-encoded (the host is left to IDN conversion), and without the
// fragment, which is never sent.
QByteArray RequestUrl(const QString& url)
{
    QByteArray bytes = EncodeUtf8KeepingBytes(url);
    const qsizetype hash = bytes.indexOf('#');
    if (hash >= 0)
        bytes.truncate(hash);
    const qsizetype authority = bytes.indexOf("://") + 3;
    qsizetype pathStart = bytes.size();
    for (const char c : {'/', '?'}) {
        const qsizetype at = bytes.indexOf(c, authority);
        if (at >= 0 && at < pathStart)
            pathStart = at;
    }
    QByteArray request = bytes.left(pathStart);
    for (qsizetype i = pathStart; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c <= 0x20 || c >= 0x7F)
            request.append('%').append(QByteArray::number(c, 16).toUpper().rightJustified(2, '0'));
        else
            request.append(static_cast<char>(c));
    }
    return request;
}

// A location beginning with "/" is joined to the origin of the fetched URL
// (its port and user information included); a protocol-relative one
// ("//host/path") takes the origin's protocol. Any other location without a
// scheme of its own ("landing.html", "../x") is resolved against the URL
// that answered, as HTTP does.
QString RedirectTargetFor(const QString& url, const QString& origin, const QString& location)
{
    if (location.startsWith(u"//")) {
        const qsizetype sep = origin.indexOf(u"://");
        return sep < 0 ? location : origin.left(sep + 1) + location;
    }
    if (location.startsWith(u'/'))
        return origin + location;
    return ResolveReference(url, location);
}

// A Location value as a URL text: its bytes kept as they came, those that
// are not UTF-8 and every control character percent-encoded, so that the
// target is requested at exactly the address the server gave.
QString LocationText(const QByteArray& location)
{
    QByteArray safe;
    safe.reserve(location.size());
    for (const char c : location) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            safe.append('%').append(QByteArray::number(u, 16).toUpper().rightJustified(2, '0'));
        else
            safe.append(c);
    }
    return PercentEncodeEscapedBytes(DecodeHeaderText(safe));
}

void RunStopHandler(const StopHandler& onStop)
{
    if (!onStop)
        return;
    try {
        onStop();
    } catch (...) {
        // The crawl's completion routine must not take the fetch down with it.
    }
}

QString Conclude(FetcherState& state, const QString& url, TransferOutcome&& outcome, const FetchSettings& settings)
{
    state.lastStatusCode = outcome.statusCode;
    if ((outcome.statusCode == 429 || outcome.statusCode == 503) && !outcome.retryAfter.isEmpty())
        state.retryAfterMs = RetryAfterDelayMs(outcome.retryAfter, QDateTime::currentDateTimeUtc());
    if (!outcome.failure.isEmpty()) {
        state.lastFetchError = outcome.failure;
        state.incomplete = outcome.statusCode > 0;
        return {};
    }
    if (IsSuccess(outcome.statusCode)) {
        const bool document = settings.keepDocuments &&
                              DocumentKindOfAnswer(url, outcome.body, outcome.contentType) != DocumentKind::None;
        if (settings.keepBody || document) {
            state.body = outcome.body;  // shared with the outcome's, not copied
            state.contentType = outcome.contentType;
        }
        if (document || !IsTextBody(outcome.body, outcome.contentType)) {
            state.notText = true;
            return {};
        }
        QString text = DecodePageBody(outcome.body, outcome.contentType);
        outcome.body = QByteArray();  // a large page is held twice at most, not three times
        return NormalisePageText(std::move(text));
    }
    if (IsRedirect(outcome)) {
        state.redirectTarget = RedirectTargetFor(url, state.fetchOrigin, LocationText(outcome.location));
        return {};
    }
    state.lastFetchError = ReplaceEscapedBytes(DecodeHeaderText(outcome.statusLine));
    return {};
}

void Fail(FetcherState& state, const QString& text)
{
    if (state.lastStatusCode == 0)
        state.lastStatusCode = -1;
    state.lastFetchError = text;
}

}  // namespace

FetcherState& ThisThreadFetcher()
{
    thread_local FetcherState state;
    return state;
}

QString FetchPage(const QString& url, const FetchSettings& settings, const std::atomic<bool>* stopRequested,
                  const StopHandler& onStop)
{
    FetcherState& state = ThisThreadFetcher();
    try {
        state.lastStatusCode = 0;
        state.retryAfterMs = -1;
        state.incomplete = false;
        state.notText = false;
        state.body.clear();
        state.contentType.clear();
        state.fetchOrigin = OriginOf(url);
        // libcurl would guess a missing protocol and read "http:///x" as host
        // "x"; the fetcher asks for exactly what it is given.
        if (state.fetchOrigin.isEmpty() || state.fetchOrigin.endsWith(u"://")) {
            Fail(state, QString::fromUtf8(curl_easy_strerror(CURLE_URL_MALFORMAT)));
            return {};
        }
        HttpTransfer transfer(settings, stopRequested);
        TransferOutcome outcome = transfer.Run(RequestUrl(url));
        if (outcome.stopped)
            RunStopHandler(onStop);
        return Conclude(state, url, std::move(outcome), settings);
    } catch (const std::exception& e) {
        Fail(state, QString::fromUtf8(e.what()));
    } catch (...) {
        Fail(state, QStringLiteral("Unexpected failure while fetching the page"));
    }
    return {};
}

qint64 RetryAfterDelayMs(const QByteArray& value, const QDateTime& now)
{
    bool seconds = false;
    const qint64 delay = value.trimmed().toLongLong(&seconds);
    // A server may send any number: clamp it before it becomes milliseconds,
    // which would overflow; no wait is near a year long anyway.
    constexpr qint64 kLongestSeconds = 365LL * 24 * 3600;
    if (seconds)
        return delay < 0 ? -1 : std::min(delay, kLongestSeconds) * 1000;
    // An HTTP date ends in "GMT", which the RFC 2822 reader wants as "+0000".
    QString date = QString::fromLatin1(value.trimmed());
    if (date.endsWith(QLatin1String(" GMT")))
        date = date.chopped(4) + QStringLiteral(" +0000");
    const QDateTime when = QDateTime::fromString(date, Qt::RFC2822Date);
    if (!when.isValid())
        return -1;
    return std::max<qint64>(0, now.msecsTo(when));
}

QString OriginOf(const QString& url)
{
    const qsizetype sep = url.indexOf(u"://");
    if (sep < 0)
        return {};
    return url.left(sep) + QStringLiteral("://") + AuthorityOf(url).toString();
}

QString ClientLibraryAgent()
{
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    return QStringLiteral("libcurl/") + QString::fromLatin1(info && info->version ? info->version : "");
}

QString TlsLibraryVersion()
{
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    return QString::fromLatin1(info && info->ssl_version ? info->ssl_version : "");
}

}  // namespace lexicrawl
