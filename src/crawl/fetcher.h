#pragma once
// The page fetcher: one HTTP or HTTPS GET per call, never following a
// redirect, leaving the status code, redirect target and failure text in the
// calling thread's fetcher state.
//
// Thread-safety: FetchPage may run on several threads at once; each thread
// has its own FetcherState.
#include <QDateTime>
#include <QString>

#include <atomic>
#include <functional>

namespace lexicrawl {

// Options captured at Start and read at every fetch.
struct FetchSettings {
    QString userAgent;         // empty: no User-Agent header
    int connectTimeoutMs = 0;  // 0 (or less): the fetcher's own bound, 30 s
    int readTimeoutMs = 0;     // inactivity time-out; 0 (or less): the fetcher's own bound, 60 s
    // Only the status and the redirect target are wanted: the transfer ends
    // once the answer's head is in, and the result is empty.
    bool statusOnly = false;
    // Certificates are verified against the system's store unless this is
    // set (test servers with their own certificates); only then are TLS 1.0
    // and 1.1 and servers without secure renegotiation accepted too.
    bool insecure = false;
    // Bound of the whole fetch; 0 (or less): the connect time-out plus the
    // larger of 6 read time-outs and 60 s.
    int wholeFetchTimeoutMs = 0;
    // The body of a 2xx answer is also kept as it came (after any transfer
    // decompression), with its declared type, in FetcherState::body and
    // contentType, text or not; the result text is the same either way.
    bool keepBody = false;
    // A 2xx answer that is a document (DocumentKindOfAnswer) is kept as it
    // came, with its declared type, and marked notText, whatever its type
    // says; every other answer is fetched as without this.
    bool keepDocuments = false;
};

// Rewritten by every fetch on a thread, read by the caller right after it.
struct FetcherState {
    QString fetchOrigin;     // protocol + "://" + authority (port included) of the URL being fetched
    QString redirectTarget;  // written, never emptied, by the fetcher
    int lastStatusCode = 0;  // the answer's status, -1 without a status line
    QString lastFetchError;  // failure text of the last failed fetch
    // For a 429 or 503 answer with a Retry-After header: how long the server
    // asks to be left alone, in milliseconds; -1 otherwise.
    qint64 retryAfterMs = -1;
    // The status line came, but the answer did not arrive whole: the
    // connection broke or timed out in the middle, the body passed the size
    // cap, or a stop cut it short. LastStatusCode keeps the answer's code and
    // LastFetchError says what went wrong; the page is empty. Such a fetch
    // failed, whatever its code says.
    bool incomplete = false;
    // A 2xx answer whose body is not text (an image, an archive, other binary
    // data, by its declared type or, when it declares none or an unspecific
    // one, by its first bytes). The page is recorded, but its source is handed
    // on empty, so that no words or links are read from it.
    bool notText = false;
    // With FetchSettings::keepBody: the 2xx answer's body and Content-Type;
    // emptied by every fetch.
    QByteArray body;
    QByteArray contentType;
};

// The delay a Retry-After value asks for: seconds (at most a year's), or an
// HTTP date; -1 when it is neither.
qint64 RetryAfterDelayMs(const QByteArray& value, const QDateTime& now);

// The calling thread's fetcher state.
FetcherState& ThisThreadFetcher();

// Called once, on the fetching thread, when a transfer is aborted because
// stopRequested was set (the crawl runs its completion routine from it).
using StopHandler = std::function<void()>;

// Fetches url (http or https only) and returns its source text, decoded by
// its declared character set, cut at a NUL and with CR LF line ends, or empty
// text on failure, on redirect and for a body that is not text (NotText). No
// failure escapes. A redirect leaves its Location in RedirectTarget: joined
// to FetchOrigin when it begins with "/", given FetchOrigin's protocol when
// it begins with "//", kept when it has a scheme, else resolved against url;
// bytes that are not UTF-8 and control characters percent-encoded. A body
// that grows past 64 MiB after decompression fails the fetch, and so do a
// fetch that outlasts its whole bound and an answer slower than
// HttpTransfer::MinBytesPerSecond (each with Incomplete set once the status
// line came). When *stopRequested becomes true the transfer is aborted
// within about 50 ms and onStop runs once, on the calling thread, before
// FetchPage returns.
QString FetchPage(const QString& url, const FetchSettings& settings,
                  const std::atomic<bool>* stopRequested = nullptr, const StopHandler& onStop = {});

// protocol + "://" + the authority of url (user information and port
// included), without path, query or fragment.
QString OriginOf(const QString& url);

// The identifier the HTTP client library sends by default (first agent preset).
QString ClientLibraryAgent();

// The TLS library the HTTP client uses ("OpenSSL/3.0.11").
QString TlsLibraryVersion();

}  // namespace lexicrawl
