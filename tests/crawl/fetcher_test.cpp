// The fetcher against loopback servers: what it sends, how it reads every
// kind of answer, and how it ends when the server does not.
#include "crawl/fetcher.h"

#include "loopback_server.h"
#include "qstring_printer.h"
#include "test_tls.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/socket.h>
#include <unistd.h>
#include <netinet/in.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

namespace lexicrawl {
namespace {

using test::Answer;
using test::LoopbackServer;
using namespace std::chrono_literals;

const QString Untouched = QStringLiteral("untouched");

// Short bounds so that a test about a silent server ends quickly.
FetchSettings QuickSettings(const QString& userAgent = QStringLiteral("LexiTest/1.0"))
{
    FetchSettings settings;
    settings.userAgent = userAgent;
    settings.connectTimeoutMs = 2000;
    settings.readTimeoutMs = 2000;
    return settings;
}

// For the loopback TLS servers, whose certificates are made up.
FetchSettings InsecureSettings()
{
    FetchSettings settings = QuickSettings();
    settings.insecure = true;
    return settings;
}

// Sets the fields a fetch must leave alone to a marker, then fetches.
QString Fetch(const std::string& url, const FetchSettings& settings = QuickSettings())
{
    FetcherState& state = ThisThreadFetcher();
    state.redirectTarget = Untouched;
    state.lastFetchError = Untouched;
    return FetchPage(QString::fromStdString(url), settings);
}

bool MentionsTimeout(const QString& failure)
{
    return failure.contains(QStringLiteral("timed out"), Qt::CaseInsensitive) ||
           failure.contains(QStringLiteral("timeout"), Qt::CaseInsensitive);
}

enum class Coding { Gzip, Zlib, RawDeflate };

std::string Compress(std::string_view data, Coding coding)
{
    const int windowBits = coding == Coding::Gzip ? 16 + MAX_WBITS : coding == Coding::Zlib ? MAX_WBITS : -MAX_WBITS;
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return out;
}

// Serves fixed answers by path; anything else is a 404.
LoopbackServer::Handler Routes(std::map<std::string, std::string> answers)
{
    return [answers = std::move(answers)](const LoopbackServer::Request& request, LoopbackServer::Connection& c) {
        const auto it = answers.find(request.Path);
        c.Send(it != answers.end() ? it->second : Answer("HTTP/1.1 404 Not Found", "", "missing"));
    };
}

// A port on 127.0.0.1 where nothing listens.
int ClosedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A port on 127.0.0.1 whose listen queue is full, so that a new connection
// attempt is never answered.
class UnansweringPort {
public:
    UnansweringPort()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 0);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        for (int& filler : fillers_) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
        std::this_thread::sleep_for(50ms);
    }
    ~UnansweringPort()
    {
        for (const int filler : fillers_)
            ::close(filler);
        ::close(listener_);
    }
    int Port() const { return port_; }

private:
    int listener_ = -1;
    int fillers_[3] = {-1, -1, -1};
    int port_ = 0;
};

class FetcherTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Loopback traffic must never be sent to a proxy of the environment.
        setenv("NO_PROXY", "*", 1);
        setenv("no_proxy", "*", 1);
    }
};

struct BodyCase {
    const char* name;
    std::string headers;
    std::string body;
    QString expected;
};

TEST_F(FetcherTest, SuccessfulAnswersComeBackDecodedWithCrLfLines)
{
    const std::string html = "Content-Type: text/html\r\n";
    const std::string page = "<p>Hello\nworld</p>\n";
    const QString pageText = QStringLiteral("<p>Hello\r\nworld</p>\r\n");
    const std::vector<BodyCase> cases = {
        {"lf-only", html, "one\ntwo\n\nfour", QStringLiteral("one\r\ntwo\r\n\r\nfour\r\n")},
        {"lone-cr-and-crlf", html, "a\rb\r\nc\r\n", QStringLiteral("a\r\nb\r\nc\r\n")},
        {"empty", html, "", QString()},
        {"nul-cuts", html, std::string("before\nmid\0after\n", 17), QStringLiteral("before\r\nmid\r\n")},
        {"nul-first", html, std::string("\0text", 5), QString()},
        {"gzip", html + "Content-Encoding: gzip\r\n", Compress(page, Coding::Gzip), pageText},
        {"deflate", html + "Content-Encoding: deflate\r\n", Compress(page, Coding::Zlib), pageText},
        {"raw-deflate", html + "Content-Encoding: deflate\r\n", Compress(page, Coding::RawDeflate), pageText},
        {"latin1-header", "Content-Type: text/html; charset=ISO-8859-1\r\n", "caf\xE9", QStringLiteral(u"café\r\n")},
        {"latin1-meta", html, "<meta charset=\"iso-8859-1\">caf\xE9",
         QStringLiteral(u"<meta charset=\"iso-8859-1\">café\r\n")},
        {"none-utf8", html, "caf\xC3\xA9", QStringLiteral(u"café\r\n")},
        {"none-not-utf8", html, "caf\xE9 \x93quoted\x94", QStringLiteral(u"café “quoted”\r\n")},
        {"bom-beats-header", "Content-Type: text/html; charset=ISO-8859-1\r\n", "\xEF\xBB\xBF" "caf\xC3\xA9",
         QStringLiteral(u"café\r\n")},
    };
    std::map<std::string, std::string> answers;
    for (const BodyCase& c : cases)
        answers["/" + std::string(c.name)] = Answer("HTTP/1.1 200 OK", c.headers, c.body);
    LoopbackServer server(Routes(answers));

    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Fetch(server.Url("/" + std::string(c.name))), c.expected);
        const FetcherState& state = ThisThreadFetcher();
        EXPECT_EQ(state.lastStatusCode, 200);
        EXPECT_EQ(state.lastFetchError, Untouched);
        EXPECT_EQ(state.redirectTarget, Untouched);
        EXPECT_EQ(state.fetchOrigin, QString::fromStdString(server.Url("")));
    }
}

struct StatusCase {
    const char* Path;
    std::string Answer;
    int Code;
    QString Target;  // expected RedirectTarget ("untouched" when not a redirect); "{origin}" is the server's
    QString Error;   // expected LastFetchError
};

TEST_F(FetcherTest, RedirectsAreRecordedAndErrorStatusesGiveTheirStatusLine)
{
    const std::string body = "<a href=\"/elsewhere\">moved</a>";
    const std::vector<StatusCase> cases = {
        // The origin keeps the server's port.
        {"/rooted", Answer("HTTP/1.1 301 Moved Permanently", "Location: /new?x=1\r\n", body), 301,
         QStringLiteral("{origin}/new?x=1"), Untouched},
        // A relative location is resolved against the URL that answered.
        {"/dir/bare", Answer("HTTP/1.1 302 Found", "Location:  page2.html \r\n", body), 302,
         QStringLiteral("{origin}/dir/page2.html"), Untouched},
        {"/dir/sub/up", Answer("HTTP/1.1 302 Found", "Location: ../top.html?a=1\r\n", body), 302,
         QStringLiteral("{origin}/dir/top.html?a=1"), Untouched},
        {"/absolute", Answer("HTTP/1.1 307 Temporary Redirect", "Location: https://example.invalid/a\r\n", ""), 307,
         QStringLiteral("https://example.invalid/a"), Untouched},
        {"/protocol-relative", Answer("HTTP/1.1 301 Moved Permanently", "Location: //cdn.invalid/x\r\n", ""), 301,
         QStringLiteral("http://cdn.invalid/x"), Untouched},
        {"/empty-location", Answer("HTTP/1.1 302 Found", "Location: \r\n", ""), 302, Untouched,
         QStringLiteral("HTTP/1.1 302 Found")},
        {"/no-location", Answer("HTTP/1.1 302 Found", "", body), 302, Untouched, QStringLiteral("HTTP/1.1 302 Found")},
        {"/not-modified", Answer("HTTP/1.1 304 Not Modified", "Location: /new\r\n", ""), 304, Untouched,
         QStringLiteral("HTTP/1.1 304 Not Modified")},
        {"/missing", Answer("HTTP/1.1 404 Not Found", "Content-Type: text/html\r\n", "<h1>Not here</h1>"), 404,
         Untouched, QStringLiteral("HTTP/1.1 404 Not Found")},
        {"/broken", Answer("HTTP/1.1 503 Service Unavailable", "", ""), 503, Untouched,
         QStringLiteral("HTTP/1.1 503 Service Unavailable")},
        {"/after-interim", "HTTP/1.1 100 Continue\r\n\r\n" + Answer("HTTP/1.1 410 Gone", "", ""), 410, Untouched,
         QStringLiteral("HTTP/1.1 410 Gone")},
    };
    std::map<std::string, std::string> answers;
    for (const StatusCase& c : cases)
        answers[c.Path] = c.Answer;
    LoopbackServer server(Routes(answers));

    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.Path);
        EXPECT_EQ(Fetch(server.Url(c.Path)), QString());
        const FetcherState& state = ThisThreadFetcher();
        EXPECT_EQ(state.lastStatusCode, c.Code);
        EXPECT_EQ(state.redirectTarget, QString(c.Target).replace(u"{origin}"_qs, QString::fromStdString(server.Url(""))));
        EXPECT_EQ(state.lastFetchError, c.Error);
    }
    EXPECT_EQ(server.Requests().size(), cases.size()) << "a redirect location was requested";
}

TEST_F(FetcherTest, FailuresWithoutAnAnswerGiveMinusOne)
{
    const std::vector<std::string> urls = {
        "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/",
        "http://no-such-host.invalid/",
        "ftp://127.0.0.1/file",
        "127.0.0.1/page",
        "http:///page",
    };
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        EXPECT_EQ(Fetch(url), QString());
        const FetcherState& state = ThisThreadFetcher();
        EXPECT_EQ(state.lastStatusCode, -1);
        EXPECT_NE(state.lastFetchError, Untouched);
        EXPECT_FALSE(state.lastFetchError.isEmpty());
        EXPECT_EQ(state.redirectTarget, Untouched);
    }
}

TEST_F(FetcherTest, RequestCarriesExactlyTheAgreedHeaders)
{
    LoopbackServer server(Routes({{"/", Answer("HTTP/1.1 200 OK", "Set-Cookie: session=1; Path=/\r\n", "x")}}));
    Fetch(server.Url("/"), QuickSettings(QStringLiteral("LexiTest/1.0")));
    Fetch(server.Url("/"), FetchSettings{});  // as before the first Start: no agent, no time-outs
    Fetch(server.Url("/"), QuickSettings(QStringLiteral("Evil\r\nX-Injected: 1")));
    const std::vector<LoopbackServer::Request> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);

    for (const LoopbackServer::Request& r : requests) {
        EXPECT_NE(r.Head.find("GET / HTTP/1.1\r\n"), std::string::npos) << r.Head;
        EXPECT_NE(r.Head.find("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"),
                  std::string::npos)
            << r.Head;
        EXPECT_NE(r.Head.find("\r\nAccept-Encoding: deflate, gzip, identity\r\n"), std::string::npos) << r.Head;
        for (const char* absent : {"Cookie:", "Referer:", "Accept-Language:", "Authorization:", "\r\nX-Injected"})
            EXPECT_EQ(r.Head.find(absent), std::string::npos) << absent << " in " << r.Head;
    }
    EXPECT_NE(requests[0].Head.find("\r\nUser-Agent: LexiTest/1.0\r\n"), std::string::npos) << requests[0].Head;
    EXPECT_EQ(requests[1].Head.find("User-Agent"), std::string::npos) << requests[1].Head;
}

TEST_F(FetcherTest, PathIsPercentEncodedAndFragmentNotSent)
{
    LoopbackServer server(Routes({}));
    Fetch(server.Url("/a b/caf\xC3\xA9?q=\xC3\xA9 1#part two"));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Path, "/a%20b/caf%C3%A9?q=%C3%A9%201");
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 404);
}

TEST_F(FetcherTest, StatusOnlyEndsTheTransferOnceTheHeadIsIn)
{
    // A start page that sends its head and then takes its time with the body.
    LoopbackServer server([](const LoopbackServer::Request&, LoopbackServer::Connection& c) {
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n<html>");
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    });
    FetchSettings settings = QuickSettings(QString());
    settings.readTimeoutMs = 10000;
    settings.statusOnly = true;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch(server.Url("/slow"), settings), QString());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 200);
    EXPECT_EQ(ThisThreadFetcher().lastFetchError, Untouched);

    LoopbackServer redirect(Routes({{"/old", Answer("HTTP/1.1 301 Moved Permanently", "Location: /new\r\n", "body")}}));
    ThisThreadFetcher().redirectTarget.clear();
    Fetch(redirect.Url("/old"), settings);
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 301);
    EXPECT_EQ(ThisThreadFetcher().redirectTarget, QString::fromStdString(redirect.Url("/new")));
}

struct TlsCase {
    const char* Name;
    int MinVersion;
    int MaxVersion;
    bool Expired;
    bool Insecure;
    int Code;
};

TEST_F(FetcherTest, TlsIsVerifiedUnlessTurnedOff)
{
    // Verified (the default): the test servers' made-up certificates fail,
    // and so would TLS 1.0 and 1.1. Verification off: every version up to 1.3.
    const std::vector<TlsCase> cases = {
        {"tls1.0-only", TLS1_VERSION, TLS1_VERSION, false, true, 200},
        {"tls1.1-only", TLS1_1_VERSION, TLS1_1_VERSION, false, true, 200},
        {"tls1.2-only", TLS1_2_VERSION, TLS1_2_VERSION, false, true, 200},
        {"any-version-expired", TLS1_VERSION, TLS1_3_VERSION, true, true, 200},
        {"tls1.3-only", TLS1_3_VERSION, TLS1_3_VERSION, false, true, 200},
        {"tls1.3-verified", TLS1_3_VERSION, TLS1_3_VERSION, false, false, -1},
        {"tls1.0-verified", TLS1_VERSION, TLS1_VERSION, false, false, -1},
    };
    for (const TlsCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const test::SslContext tls = test::MakeServerContext(c.MinVersion, c.MaxVersion, c.Expired);
        LoopbackServer server(Routes({{"/", Answer("HTTP/1.1 200 OK", "", "secure\n")}}), tls.get());
        const QString page = Fetch(server.Url("/"), c.Insecure ? InsecureSettings() : QuickSettings());
        const FetcherState& state = ThisThreadFetcher();
        EXPECT_EQ(state.lastStatusCode, c.Code) << state.lastFetchError.toStdString();
        EXPECT_EQ(page, c.Code == 200 ? QStringLiteral("secure\r\n") : QString());
        EXPECT_EQ(state.fetchOrigin, QString::fromStdString(server.Url("")));
    }
}

TEST_F(FetcherTest, TlsAnswerEndedByAClosedConnectionArrives)
{
    const test::SslContext tls = test::MakeServerContext(TLS1_2_VERSION, TLS1_2_VERSION);
    LoopbackServer server(
        [](const LoopbackServer::Request&, LoopbackServer::Connection& connection) {
            connection.Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nno length given\n");
            connection.CloseWithoutNotify();
        },
        tls.get());
    EXPECT_EQ(Fetch(server.Url("/"), InsecureSettings()), QStringLiteral("no length given\r\n"));
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 200);
    EXPECT_EQ(ThisThreadFetcher().lastFetchError, Untouched);
}

TEST_F(FetcherTest, SilentServerEndsTheFetchAtTheReadTimeout)
{
    struct Case {
        const char* Name;
        std::string Prefix;  // sent before the server falls silent
        int Code;
    };
    const std::vector<Case> cases = {
        {"before-status-line", "", -1},
        {"after-head", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        LoopbackServer server([&](const LoopbackServer::Request&, LoopbackServer::Connection& connection) {
            connection.Send(c.Prefix);
            connection.WaitForClose(10'000);
        });
        FetchSettings settings = QuickSettings();
        settings.readTimeoutMs = 300;
        EXPECT_EQ(Fetch(server.Url("/"), settings), QString());
        EXPECT_EQ(ThisThreadFetcher().lastStatusCode, c.Code);
        EXPECT_EQ(ThisThreadFetcher().incomplete, c.Code > 0);
        EXPECT_TRUE(MentionsTimeout(ThisThreadFetcher().lastFetchError))
            << ThisThreadFetcher().lastFetchError.toStdString();
    }
}

TEST_F(FetcherTest, UnansweredConnectEndsAtTheConnectTimeout)
{
    const UnansweringPort port;
    FetchSettings settings = QuickSettings();
    settings.connectTimeoutMs = 300;
    EXPECT_EQ(Fetch("http://127.0.0.1:" + std::to_string(port.Port()) + "/", settings), QString());
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, -1);
    EXPECT_TRUE(MentionsTimeout(ThisThreadFetcher().lastFetchError))
        << ThisThreadFetcher().lastFetchError.toStdString();
}

TEST_F(FetcherTest, StopRequestAbortsTheTransferAndRunsTheHandlerOnce)
{
    struct Case {
        const char* Name;
        bool SendHead;
        int Code;
        std::chrono::milliseconds StopAfter;
    };
    for (const Case& c : {Case{"already-set", false, -1, 0ms}, Case{"before-status-line", false, -1, 300ms},
                          Case{"during-slow-body", true, 200, 300ms}}) {
        SCOPED_TRACE(c.Name);
        LoopbackServer server([&](const LoopbackServer::Request&, LoopbackServer::Connection& connection) {
            if (c.SendHead && !connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n"))
                return;
            for (int i = 0; i < 400 && !connection.Stopping(); ++i) {
                if (c.SendHead && !connection.Send("x"))
                    return;
                std::this_thread::sleep_for(25ms);
            }
        });
        std::atomic<bool> stop{c.StopAfter == 0ms};
        std::thread stopper([&] {
            std::this_thread::sleep_for(c.StopAfter);
            stop = true;
        });
        int stopCalls = 0;
        FetcherState& state = ThisThreadFetcher();
        state.lastFetchError = Untouched;
        const QString page = FetchPage(QString::fromStdString(server.Url("/")), QuickSettings(), &stop,
                                       [&] { ++stopCalls; });
        stopper.join();
        EXPECT_EQ(page, QString());
        EXPECT_EQ(stopCalls, 1);
        EXPECT_EQ(state.lastStatusCode, c.Code);
        EXPECT_EQ(state.incomplete, c.Code > 0);
        EXPECT_NE(state.lastFetchError, Untouched);
    }
}

TEST_F(FetcherTest, OversizedAnswersAreRefused)
{
    const std::string bomb = Compress(std::string(65 * 1024 * 1024, 'a'), Coding::Gzip);
    ASSERT_LT(bomb.size(), 1024u * 1024u);
    std::string padding;
    for (int i = 0; padding.size() < 2u * 1024 * 1024; ++i)
        padding += "X-Pad-" + std::to_string(i) + ": " + std::string(1000, 'p') + "\r\n";
    LoopbackServer server(Routes({
        {"/bomb", Answer("HTTP/1.1 200 OK", "Content-Encoding: gzip\r\n", bomb)},
        {"/long-head", Answer("HTTP/1.1 200 OK", padding, "page")},
        {"/plain", Answer("HTTP/1.1 200 OK", "", "small\n")},
    }));
    EXPECT_EQ(Fetch(server.Url("/bomb")), QString());
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 200);
    EXPECT_TRUE(ThisThreadFetcher().lastFetchError.contains(QStringLiteral("64 MiB")))
        << ThisThreadFetcher().lastFetchError.toStdString();
    EXPECT_TRUE(ThisThreadFetcher().incomplete);

    EXPECT_EQ(Fetch(server.Url("/long-head")), QString());
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 200);
    EXPECT_NE(ThisThreadFetcher().lastFetchError, Untouched);

    // Nothing of the refused fetches lingers into the next one.
    EXPECT_EQ(Fetch(server.Url("/plain")), QStringLiteral("small\r\n"));
    EXPECT_FALSE(ThisThreadFetcher().incomplete);
}

TEST_F(FetcherTest, EachThreadHasItsOwnFetcherState)
{
    LoopbackServer server(Routes({{"/ok", Answer("HTTP/1.1 200 OK", "", "fine")}}));
    Fetch(server.Url("/ok"));
    std::thread other([&] {
        Fetch(server.Url("/gone"));
        EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 404);
        EXPECT_EQ(ThisThreadFetcher().lastFetchError, QStringLiteral("HTTP/1.1 404 Not Found"));
    });
    other.join();
    EXPECT_EQ(ThisThreadFetcher().lastStatusCode, 200);
    EXPECT_EQ(ThisThreadFetcher().lastFetchError, Untouched);
}

}  // namespace
}  // namespace lexicrawl
