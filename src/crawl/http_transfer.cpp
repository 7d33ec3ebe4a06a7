#include "crawl/http_transfer.h"

#include <openssl/ssl.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace lexicrawl {

namespace {

const char* const AcceptHeader = "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
const char* const AcceptedCodings = "deflate, gzip, identity";

// How often the transfer loop looks at the stop request while nothing
// happens on the wire, and the longest sleep without one.
constexpr int StopPollMs = 50;
constexpr int IdlePollMs = 1000;

struct EasyCleanup {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MultiCleanup {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct ListCleanup {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;
using HeaderList = std::unique_ptr<curl_slist, ListCleanup>;

// A failure of the client library itself (not of the transfer), carried up
// to Run as the fetch's failure text.
class ClientError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The easy handle is attached to the multi handle for the scope of the
// transfer; it must be detached before either is cleaned up.
class MultiAttachment {
public:
    MultiAttachment(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy)
    {
        const CURLMcode rc = curl_multi_add_handle(multi_, easy_);
        if (rc != CURLM_OK)
            throw ClientError(curl_multi_strerror(rc));
    }
    ~MultiAttachment() { curl_multi_remove_handle(multi_, easy_); }
    MultiAttachment(const MultiAttachment&) = delete;
    MultiAttachment& operator=(const MultiAttachment&) = delete;

private:
    CURLM* multi_;
    CURL* easy_;
};

template <typename T>
void SetOption(CURL* easy, CURLoption option, T value)
{
    const CURLcode rc = curl_easy_setopt(easy, option, value);
    if (rc != CURLE_OK)
        throw ClientError(curl_easy_strerror(rc));
}

void CheckMulti(CURLMcode rc)
{
    if (rc != CURLM_OK)
        throw ClientError(curl_multi_strerror(rc));
}

// libcurl's global state is set up once per process, whichever thread
// fetches first.
CURLcode GlobalInitResult()
{
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result;
}

// Header values that end up in a request line must not smuggle in line
// breaks or other control characters.
QByteArray HeaderSafe(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    return bytes;
}

bool IsSuccess(int status)
{
    return status >= 200 && status <= 299;
}

int StatusCodeOf(const QByteArray& statusLine)
{
    const qsizetype space = statusLine.indexOf(' ');
    if (space < 0)
        return -1;
    bool ok = false;
    const int code = statusLine.mid(space + 1, 3).toInt(&ok);
    return ok && code >= 100 && code <= 999 ? code : -1;
}

int WholeFetchBound(int requestedMs, int connectMs, int readMs)
{
    if (requestedMs > 0)
        return requestedMs;
    const long long reading =
        std::max<long long>(static_cast<long long>(readMs) * HttpTransfer::WholeFetchReadTimeouts,
                            HttpTransfer::WholeFetchFloorMs);
    return static_cast<int>(std::min<long long>(connectMs + reading, std::numeric_limits<int>::max()));
}

// OpenSSL 3 refuses servers that lack secure renegotiation, which many old
// servers still do; accepted only when the user turned verification off.
CURLcode OnSslContext(CURL*, void* sslContext, void*)
{
    SSL_CTX_set_options(static_cast<SSL_CTX*>(sslContext), SSL_OP_LEGACY_SERVER_CONNECT);
    return CURLE_OK;
}

}  // namespace

QString CertificateFailureText(const char* curlText)
{
    QString detail = QString::fromUtf8(curlText);
    // "SSL: no alternative certificate subject name matches target host
    // name 'x'", "SSL: certificate subject name 'y' does not match target
    // host name 'x'"
    if (detail.contains(QLatin1String("target host name")))
        return QStringLiteral("certificate is for another host: ") + detail.section(QLatin1String("SSL: "), -1);
    // "SSL certificate problem: self-signed certificate"
    for (const QLatin1String prefix : {QLatin1String("SSL certificate problem: "), QLatin1String("SSL: ")})
        if (detail.startsWith(prefix))
            detail.remove(0, prefix.size());
    return QStringLiteral("certificate not trusted: ") + detail;
}

// The C callbacks of the easy handle, forwarding to the transfer.
struct HttpTransferCallbacks {
    static size_t OnHeader(char* data, size_t size, size_t count, void* self)
    {
        auto* t = static_cast<HttpTransfer*>(self);
        const size_t length = size * count;
        t->lastActivity_ = HttpTransfer::Clock::now();
        t->headerBytes_ += static_cast<qsizetype>(length);
        if (t->headerBytes_ > HttpTransfer::MaxHeaderBytes) {
            t->headerTooLarge_ = true;
            return CURL_WRITEFUNC_ERROR;
        }
        t->TakeHeaderLine(QByteArray(data, static_cast<qsizetype>(length)));
        const bool blankLine = length > 0 && length <= 2 && (data[0] == '\r' || data[0] == '\n');
        if (t->statusOnly_ && blankLine && t->outcome_.statusCode >= 200) {
            // The blank line that ends the final answer's head: all that was wanted.
            t->bodyRefused_ = true;
            return CURL_WRITEFUNC_ERROR;
        }
        return length;
    }

    static size_t OnBody(char* data, size_t size, size_t count, void* self)
    {
        return static_cast<HttpTransfer*>(self)->TakeBody(data, size * count);
    }

    static int OnProgress(void* self, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t)
    {
        auto* t = static_cast<HttpTransfer*>(self);
        t->NoteDownloaded(downloaded);
        return t->StopSeen() ? 1 : 0;
    }
};

HttpTransfer::HttpTransfer(const FetchSettings& settings, const std::atomic<bool>* stopRequested)
    : userAgent_(HeaderSafe(settings.userAgent)),
      statusOnly_(settings.statusOnly),
      insecure_(settings.insecure),
      connectTimeoutMs_(settings.connectTimeoutMs > 0 ? settings.connectTimeoutMs : DefaultConnectTimeoutMs),
      stopRequested_(stopRequested),
      readTimeoutMs_(settings.readTimeoutMs > 0 ? settings.readTimeoutMs : DefaultReadTimeoutMs),
      wholeFetchMs_(WholeFetchBound(settings.wholeFetchTimeoutMs, connectTimeoutMs_, readTimeoutMs_)),
      rateWindowMs_(std::clamp(readTimeoutMs_, MinRateWindowFloorMs, MinRateWindowCeilingMs))
{
}

TransferOutcome HttpTransfer::Run(const QByteArray& url)
{
    try {
        const CURLcode init = GlobalInitResult();
        if (init != CURLE_OK)
            throw ClientError(curl_easy_strerror(init));
        // The handles point at the header list and the error buffer, so
        // those are made first and released last.
        char errorText[CURL_ERROR_SIZE] = {};
        HeaderList headers(curl_slist_append(nullptr, AcceptHeader));
        EasyHandle easy(curl_easy_init());
        MultiHandle multi(curl_multi_init());
        if (!headers || !easy || !multi)
            throw ClientError("The HTTP client could not be created");
        Configure(easy.get(), url, headers.get(), errorText);
        const CURLcode result = Drive(multi.get(), easy.get());
        Conclude(result, errorText, easy.get());
    } catch (const std::exception& e) {
        outcome_.failure = QString::fromUtf8(e.what());
        outcome_.body.clear();
    }
    return std::move(outcome_);
}

void HttpTransfer::Configure(CURL* easy, const QByteArray& url, curl_slist* headers, char* errorText)
{
    SetOption(easy, CURLOPT_ERRORBUFFER, errorText);
    SetOption(easy, CURLOPT_URL, url.constData());
    SetOption(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    SetOption(easy, CURLOPT_HTTPGET, 1L);
    SetOption(easy, CURLOPT_NOSIGNAL, 1L);
    SetOption(easy, CURLOPT_FOLLOWLOCATION, 0L);
    // HTTP/1.1 only: the failure text of an error status is the status line
    // with its reason phrase, which HTTP/2 does not carry.
    SetOption(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    SetOption(easy, CURLOPT_FORBID_REUSE, 1L);
    SetOption(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    SetOption(easy, CURLOPT_ACCEPT_ENCODING, AcceptedCodings);
    SetOption(easy, CURLOPT_HTTPHEADER, headers);
    if (!userAgent_.isEmpty())
        SetOption(easy, CURLOPT_USERAGENT, userAgent_.constData());
    SetOption(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeoutMs_));
    SetOption(easy, CURLOPT_HEADERFUNCTION, &HttpTransferCallbacks::OnHeader);
    SetOption(easy, CURLOPT_HEADERDATA, this);
    SetOption(easy, CURLOPT_WRITEFUNCTION, &HttpTransferCallbacks::OnBody);
    SetOption(easy, CURLOPT_WRITEDATA, this);
    SetOption(easy, CURLOPT_XFERINFOFUNCTION, &HttpTransferCallbacks::OnProgress);
    SetOption(easy, CURLOPT_XFERINFODATA, this);
    SetOption(easy, CURLOPT_NOPROGRESS, 0L);
    ConfigureTls(easy);
}

void HttpTransfer::ConfigureTls(CURL* easy)
{
    // By default TLS 1.2 and 1.3 with the certificate checked against the
    // system's store and the host name: a page is only as trustworthy as the
    // server that sent it, and a user:password in the start URL must not go
    // to whoever answers. With verification off (test servers) also TLS 1.0
    // and 1.1, which OpenSSL 3 allows only at security level 0, lowered for
    // this transfer alone.
    SetOption(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
    if (!insecure_) {
        const long versions = static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_3);
        SetOption(easy, CURLOPT_SSLVERSION, versions);
        SetOption(easy, CURLOPT_SSL_VERIFYPEER, 1L);
        SetOption(easy, CURLOPT_SSL_VERIFYHOST, 2L);
        return;
    }
    const long versions = static_cast<long>(CURL_SSLVERSION_TLSv1_0) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_3);
    SetOption(easy, CURLOPT_SSLVERSION, versions);
    SetOption(easy, CURLOPT_SSL_CIPHER_LIST, "DEFAULT:@SECLEVEL=0");
    SetOption(easy, CURLOPT_SSL_VERIFYPEER, 0L);
    SetOption(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    SetOption(easy, CURLOPT_SSL_CTX_FUNCTION, &OnSslContext);
}

// Drives the transfer in slices short enough to see a stop request or the end
// of the inactivity time-out within milliseconds; libcurl's own connect
// time-out wakes the poll when it falls due.
CURLcode HttpTransfer::Drive(CURLM* multi, CURL* easy)
{
    MultiAttachment attachment(multi, easy);
    started_ = lastActivity_ = Clock::now();
    for (;;) {
        int running = 0;
        CheckMulti(curl_multi_perform(multi, &running));
        if (running == 0)
            break;
        if (StopSeen())
            return CURLE_ABORTED_BY_CALLBACK;
        if (ReadTimedOut(easy) || WholeFetchTimedOut() || TooSlow())
            return CURLE_OPERATION_TIMEDOUT;
        CheckMulti(curl_multi_poll(multi, nullptr, 0, PollSliceMs(), nullptr));
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    }
    throw ClientError("The HTTP client ended the transfer without a result");
}

void HttpTransfer::Conclude(CURLcode result, const char* errorText, CURL* easy)
{
    if (tooLarge_) {
        outcome_.failure = QStringLiteral("The page is larger than 64 MiB after decompression");
    } else if (headerTooLarge_) {
        outcome_.failure = QStringLiteral("The answer's header is larger than 1 MiB");
    } else if (outcome_.stopped) {
        outcome_.failure = QString::fromUtf8(curl_easy_strerror(CURLE_ABORTED_BY_CALLBACK));
    } else if (timedOut_) {
        outcome_.failure = QStringLiteral("Read timed out: nothing received for %1 ms").arg(readTimeoutMs_);
    } else if (wholeFetchTimedOut_) {
        outcome_.failure = QStringLiteral("The fetch took longer than %1 ms").arg(wholeFetchMs_);
    } else if (tooSlow_) {
        outcome_.failure = QStringLiteral("The transfer was too slow: fewer than %1 bytes in %2 ms")
                               .arg(MinBytesPerSecond * rateWindowMs_ / 1000)
                               .arg(rateWindowMs_);
    } else if (result == CURLE_PEER_FAILED_VERIFICATION) {
        outcome_.failure = CertificateFailureText(errorText[0] != '\0' ? errorText : curl_easy_strerror(result));
    } else if (result != CURLE_OK && !(result == CURLE_WRITE_ERROR && bodyRefused_)) {
        outcome_.failure = QString::fromUtf8(errorText[0] != '\0' ? errorText : curl_easy_strerror(result));
    } else if (outcome_.statusCode < 0) {
        outcome_.failure = QStringLiteral("No status line was received");
    }
    if (!outcome_.failure.isEmpty() || !IsSuccess(outcome_.statusCode))
        outcome_.body.clear();
    const char* contentType = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        outcome_.contentType = contentType;
}

void HttpTransfer::TakeHeaderLine(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    // Every answer starts afresh: interim 1xx answers come before the final one.
    if (line.startsWith("HTTP/")) {
        outcome_.statusLine = line;
        outcome_.statusCode = StatusCodeOf(line);
        outcome_.hasLocation = false;
        outcome_.location.clear();
        outcome_.retryAfter.clear();
        return;
    }
    if (bodyStarted_)
        return;  // trailers of a chunked body
    const qsizetype colon = line.indexOf(':');
    if (colon == 11 && qstrnicmp(line.constData(), "retry-after", 11) == 0) {
        outcome_.retryAfter = line.mid(colon + 1).trimmed();
        return;
    }
    if (colon != 8 || qstrnicmp(line.constData(), "location", 8) != 0)
        return;
    outcome_.location = line.mid(colon + 1).trimmed();
    outcome_.hasLocation = !outcome_.location.isEmpty();
}

// Only a 2xx body is wanted, and none when only the status is. Any other
// answer is settled by its head, so its body is cut off at the first byte
// rather than read to the end.
size_t HttpTransfer::TakeBody(const char* data, size_t size)
{
    lastActivity_ = Clock::now();
    bodyStarted_ = true;
    if (statusOnly_ || !IsSuccess(outcome_.statusCode)) {
        bodyRefused_ = true;
        return CURL_WRITEFUNC_ERROR;
    }
    if (size > static_cast<size_t>(MaxBodyBytes - outcome_.body.size())) {
        tooLarge_ = true;
        return CURL_WRITEFUNC_ERROR;
    }
    outcome_.body.append(data, static_cast<qsizetype>(size));
    return size;
}

void HttpTransfer::NoteDownloaded(curl_off_t downloaded)
{
    if (downloaded != lastDownloaded_) {
        lastDownloaded_ = downloaded;
        lastActivity_ = Clock::now();
    }
}

bool HttpTransfer::StopSeen()
{
    if (!outcome_.stopped && stopRequested_ && stopRequested_->load())
        outcome_.stopped = true;
    return outcome_.stopped;
}

// The inactivity clock runs from the moment the connection is ready (the
// connect time-out covers everything before), and restarts with every byte.
bool HttpTransfer::ReadTimedOut(CURL* easy)
{
    if (!connected_) {
        curl_off_t readyUs = 0;
        if (curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &readyUs) != CURLE_OK || readyUs <= 0)
            return false;
        connected_ = true;
        lastActivity_ = std::max(lastActivity_, started_ + std::chrono::microseconds(readyUs));
    }
    timedOut_ = Clock::now() - lastActivity_ >= std::chrono::milliseconds(readTimeoutMs_);
    return timedOut_;
}

bool HttpTransfer::WholeFetchTimedOut()
{
    wholeFetchTimedOut_ = Clock::now() - started_ >= std::chrono::milliseconds(wholeFetchMs_);
    return wholeFetchTimedOut_;
}

// Windows of rateWindowMs_ follow one another from the answer's first byte;
// each must bring its share of the minimum rate.
bool HttpTransfer::TooSlow()
{
    const qint64 received = headerBytes_ + static_cast<qint64>(lastDownloaded_);
    const Clock::time_point now = Clock::now();
    if (!rateStarted_) {
        if (received == 0)
            return false;
        rateStarted_ = true;
        windowStart_ = now;
        windowStartBytes_ = 0;
        return false;
    }
    if (now - windowStart_ < std::chrono::milliseconds(rateWindowMs_))
        return false;
    tooSlow_ = received - windowStartBytes_ < MinBytesPerSecond * rateWindowMs_ / 1000;
    windowStart_ = now;
    windowStartBytes_ = received;
    return tooSlow_;
}

int HttpTransfer::PollSliceMs() const
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    int slice = stopRequested_ ? StopPollMs : IdlePollMs;
    const Clock::time_point now = Clock::now();
    long long left = wholeFetchMs_ - duration_cast<milliseconds>(now - started_).count();
    if (connected_)
        left = std::min<long long>(left, readTimeoutMs_ - duration_cast<milliseconds>(now - lastActivity_).count());
    if (rateStarted_)
        left = std::min<long long>(left, rateWindowMs_ - duration_cast<milliseconds>(now - windowStart_).count());
    return static_cast<int>(std::clamp<long long>(left, 1, slice));
}

}  // namespace lexicrawl
