#pragma once
// One HTTP or HTTPS GET on libcurl, with the fetcher's rules for what is sent
// and how long it may take; the page-level meaning of the answer (redirects,
// error statuses, decoding) is left to the caller.
#include "crawl/fetcher.h"

#include <curl/curl.h>

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>

namespace lexicrawl {

// What came back from one transfer.
struct TransferOutcome {
    int statusCode = -1;       // of the final answer; -1 without a status line
    QByteArray statusLine;     // without its CR LF
    bool hasLocation = false;  // a non-empty Location header came with the final answer
    QByteArray location;       // its value, trimmed
    QByteArray retryAfter;     // the final answer's Retry-After, trimmed
    QByteArray contentType;    // the final answer's Content-Type, as sent
    QByteArray body;           // decompressed; only for a 2xx answer
    QString failure;           // empty when the answer arrived whole
    bool stopped = false;      // ended because the stop request was seen
};

// The failure text of a certificate that did not pass verification, from
// libcurl's error text: "certificate is for another host: ..." or
// "certificate not trusted: ...".
QString CertificateFailureText(const char* curlText);

// Runs one GET per instance: a fresh easy handle on a private multi handle,
// so no connection, cookie, session or TLS state outlives it. The transfer is
// driven by our own loop so that the inactivity time-out and the stop request
// are honoured within milliseconds, in every phase of the request.
//
// Thread-safety: an instance belongs to the thread that runs it.
class HttpTransfer {
public:
    // Bodies are refused past this many bytes after decompression: a small
    // compressed answer must not be able to exhaust memory.
    static constexpr qsizetype MaxBodyBytes = 64 * 1024 * 1024;
    // The same for the header lines of an answer (interim answers included).
    static constexpr qsizetype MaxHeaderBytes = 1024 * 1024;

    // Bounds used when a time-out is 0: the fetch must still end when a
    // server accepts the connection and then stays silent. 30 s to connect
    // (resolution and TLS handshake included) and 60 s without a byte are
    // generous for any live server and short enough for a crawl to move on.
    static constexpr int DefaultConnectTimeoutMs = 30'000;
    static constexpr int DefaultReadTimeoutMs = 60'000;

    // A server may keep every read within the read time-out and still hold a
    // fetch for ever (one byte at a time). So the whole fetch is bounded too,
    // unless FetchSettings says otherwise: the connect time-out plus the
    // larger of WholeFetchReadTimeouts read time-outs and WholeFetchFloorMs.
    static constexpr int WholeFetchReadTimeouts = 6;
    static constexpr int WholeFetchFloorMs = 60'000;
    // And an answer must keep up a minimum rate: from its first byte on, each
    // window of the read time-out (brought into 1 s to 10 s) must bring at
    // least MinBytesPerSecond per second of the window. Bytes of header lines
    // count when the line is complete.
    static constexpr qint64 MinBytesPerSecond = 1024;
    static constexpr int MinRateWindowFloorMs = 1'000;
    static constexpr int MinRateWindowCeilingMs = 10'000;

    HttpTransfer(const FetchSettings& settings, const std::atomic<bool>* stopRequested);

    // Performs the GET of url (already in request form). Never throws for
    // transfer problems; they end up in TransferOutcome::Failure.
    TransferOutcome Run(const QByteArray& url);

private:
    using Clock = std::chrono::steady_clock;

    friend struct HttpTransferCallbacks;

    void Configure(CURL* easy, const QByteArray& url, curl_slist* headers, char* errorText);
    void ConfigureTls(CURL* easy);
    CURLcode Drive(CURLM* multi, CURL* easy);
    void Conclude(CURLcode result, const char* errorText, CURL* easy);
    void TakeHeaderLine(QByteArray line);
    size_t TakeBody(const char* data, size_t size);
    void NoteDownloaded(curl_off_t downloaded);
    bool StopSeen();
    bool ReadTimedOut(CURL* easy);
    bool WholeFetchTimedOut();
    bool TooSlow();
    int PollSliceMs() const;

    QByteArray userAgent_;
    bool statusOnly_;
    bool insecure_;
    int connectTimeoutMs_;
    const std::atomic<bool>* stopRequested_;
    int readTimeoutMs_;
    TransferOutcome outcome_;
    bool bodyStarted_ = false;
    bool bodyRefused_ = false;  // non-2xx body cut off on purpose
    bool tooLarge_ = false;
    bool headerTooLarge_ = false;
    qsizetype headerBytes_ = 0;
    bool timedOut_ = false;
    bool wholeFetchTimedOut_ = false;
    bool tooSlow_ = false;
    bool connected_ = false;
    curl_off_t lastDownloaded_ = 0;
    int wholeFetchMs_;
    int rateWindowMs_;
    bool rateStarted_ = false;  // the answer's first byte has come
    qint64 windowStartBytes_ = 0;
    Clock::time_point windowStart_;
    Clock::time_point started_;
    Clock::time_point lastActivity_;
};

}  // namespace lexicrawl
