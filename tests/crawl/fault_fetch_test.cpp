// The fetcher against the fault server: every fetch ends within its bounds,
// with the status, failure text and flags the fetcher's rules give, and
// nothing crashes or holds more memory than the body cap allows.
#include "crawl/anchor_scanner.h"
#include "crawl/fetcher.h"
#include "crawl/http_transfer.h"
#include "crawl/url_text.h"
#include "fault_server.h"
#include "platform/escaped_bytes.h"
#include "qstring_printer.h"
#include "support/process_memory.h"

#include <gtest/gtest.h>


#include <chrono>
#include <cstdlib>

namespace lexicrawl {
namespace {

using testing::ResetPeak;
using testing::ResidentKb;

using test::FaultServer;
using Clock = std::chrono::steady_clock;

FetchSettings Settings(int readTimeoutMs = 1000)
{
    FetchSettings settings;
    settings.userAgent = QStringLiteral("FaultTest/1.0");
    settings.connectTimeoutMs = 2000;
    settings.readTimeoutMs = readTimeoutMs;
    return settings;
}

// A fetch with what it took: seconds, and the growth of the peak resident
// memory in MiB (the kernel's high-water mark is reset first).
struct Outcome {
    QString page;
    FetcherState state;
    double seconds = 0;
    long peakGrowthMb = 0;
};

Outcome Fetch(const std::string& url, const FetchSettings& settings = Settings())
{
    ResetPeak();
    const long before = ResidentKb("VmRSS:");
    const Clock::time_point start = Clock::now();
    Outcome outcome;
    outcome.page = FetchPage(QString::fromStdString(url), settings);
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.state = ThisThreadFetcher();
    outcome.peakGrowthMb = (ResidentKb("VmHWM:") - before) / 1024;
    return outcome;
}

class FaultFetchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("NO_PROXY", "*", 1);
        setenv("no_proxy", "*", 1);
    }
    FaultServer server;
};

// A transfer that breaks after its status line keeps the status, and says
// that it did not complete and why.
TEST_F(FaultFetchTest, FailuresAfterTheStatusLineAreFlaggedIncomplete)
{
    struct Case {
        std::string_view path;
        const char* failure;  // part of the failure text
        double maxSeconds;
    };
    const Case cases[] = {
        {FaultServer::ResetMidBody, "", 5},
        {FaultServer::StallMidBody, "timed out", 5},
        {FaultServer::HugeBody, "64 MiB", 30},
        {FaultServer::GzipBomb, "64 MiB", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path));
        const Outcome o = Fetch(server.Url(c.path));
        EXPECT_EQ(o.page, QString());
        EXPECT_EQ(o.state.lastStatusCode, 200);
        EXPECT_TRUE(o.state.incomplete);
        EXPECT_FALSE(o.state.lastFetchError.isEmpty());
        EXPECT_TRUE(o.state.lastFetchError.contains(QLatin1String(c.failure))) << o.state.lastFetchError.toStdString();
        EXPECT_LT(o.seconds, c.maxSeconds);
        // The body cap holds memory to the capped body and its text.
        EXPECT_LT(o.peakGrowthMb, 400);
    }
    // A complete answer afterwards is no longer flagged.
    const Outcome plain = Fetch(server.Url(FaultServer::Plain));
    EXPECT_FALSE(plain.state.incomplete);
    EXPECT_EQ(plain.state.lastStatusCode, 200);
}

TEST_F(FaultFetchTest, StallsEndAtTheReadTimeout)
{
    const Outcome head = Fetch(server.Url(FaultServer::StallBeforeHead), Settings(300));
    EXPECT_EQ(head.state.lastStatusCode, -1);
    EXPECT_FALSE(head.state.incomplete);
    EXPECT_TRUE(head.state.lastFetchError.contains(QLatin1String("timed out")));
    EXPECT_LT(head.seconds, 5);
}

// Bytes that each come within the read time-out cannot hold a fetch for
// ever: a slow body is stopped by the minimum rate, an endless one by the
// bound of the whole fetch.
TEST_F(FaultFetchTest, SlowAndEndlessAnswersAreBounded)
{
    const Outcome drip = Fetch(server.Url(FaultServer::Drip), Settings(500));
    EXPECT_EQ(drip.state.lastStatusCode, 200);
    EXPECT_TRUE(drip.state.incomplete);
    EXPECT_TRUE(drip.state.lastFetchError.contains(QLatin1String("too slow"))) << drip.state.lastFetchError.toStdString();
    EXPECT_LT(drip.seconds, 5);

    // A head that drips shows no whole line within the read time-out.
    const Outcome head = Fetch(server.Url(FaultServer::DripHead), Settings(500));
    EXPECT_EQ(head.state.lastStatusCode, -1);
    EXPECT_LT(head.seconds, 5);

    FetchSettings bounded = Settings(500);
    bounded.wholeFetchTimeoutMs = 1500;
    const Outcome endless = Fetch(server.Url(FaultServer::Endless), bounded);
    EXPECT_EQ(endless.state.lastStatusCode, 200);
    EXPECT_TRUE(endless.state.incomplete);
    EXPECT_TRUE(endless.state.lastFetchError.contains(QLatin1String("1500 ms")))
        << endless.state.lastFetchError.toStdString();
    EXPECT_LT(endless.seconds, 5);
}

// Redirects are recorded, never followed; a Location's raw bytes and
// control characters come back percent-encoded, so the target is requested
// at the address the server gave and never breaks a line.
TEST_F(FaultFetchTest, RedirectsAreRecordedWithTheirBytes)
{
    const auto target = [this](std::string_view path) {
        FetcherState& state = ThisThreadFetcher();
        state.redirectTarget.clear();
        const Outcome o = Fetch(server.Url(path));
        EXPECT_EQ(o.page, QString()) << path;
        EXPECT_LT(o.seconds, 5) << path;
        return std::make_pair(o.state.lastStatusCode, o.state.redirectTarget);
    };
    EXPECT_EQ(target(FaultServer::RedirectLoop), std::make_pair(302, QString::fromStdString(server.Url("/loop-b"))));
    EXPECT_EQ(target("/loop-b"), std::make_pair(302, QString::fromStdString(server.Url("/loop-a"))));
    std::string chain(FaultServer::RedirectChain);
    for (int i = 1; i <= FaultServer::ChainLength; ++i) {
        const auto [code, next] = target(chain);
        ASSERT_EQ(code, 302) << chain;
        chain = next.toStdString().substr(server.Url("").size());
    }
    EXPECT_EQ(chain, "/chain/51");
    EXPECT_EQ(Fetch(server.Url(chain)).page, QStringLiteral("<p>end of the chain</p>\r\n"));

    EXPECT_EQ(target(FaultServer::Latin1Location),
              std::make_pair(302, QString::fromStdString(server.Url("/link/caf%E9"))));
    for (const std::string_view path : {FaultServer::CrInLocation, FaultServer::FoldedLocation, FaultServer::NulInLocation}) {
        const auto [code, location] = target(path);
        EXPECT_TRUE(code == 302 || code == -1) << path << " " << code;
        for (const char16_t c : {u'\r', u'\n', u'\0'})
            EXPECT_FALSE(location.contains(QChar(c))) << path << " " << location.toStdString();
    }
}

TEST_F(FaultFetchTest, HostilePagesArriveWhole)
{
    const Outcome links = Fetch(server.Url(FaultServer::ManyLinks));
    EXPECT_EQ(links.state.lastStatusCode, 200);
    int found = 0;
    ScanAnchors(links.page, QStringLiteral("http://127.0.0.1/"),
                [&found](const QString&, const QString&, const QString&, const QString&) { ++found; });
    EXPECT_EQ(found, FaultServer::ManyLinksCount);

    const Outcome deep = Fetch(server.Url(FaultServer::Deep));
    EXPECT_EQ(deep.state.lastStatusCode, 200);
    EXPECT_TRUE(deep.page.endsWith(QStringLiteral("bottom text</body></html>\r\n")));

    const Outcome word = Fetch(server.Url(FaultServer::OneWord));
    EXPECT_EQ(word.state.lastStatusCode, 200);
    EXPECT_FALSE(word.state.incomplete);
    EXPECT_EQ(word.page.size(), FaultServer::OneWordBytes + 33 + 2);
    // The body and its UTF-16 text once (three times the page), never a
    // second copy of either: under four times the page.
    EXPECT_LT(word.peakGrowthMb, 4 * FaultServer::OneWordBytes / (1024 * 1024));

    const Outcome nul = Fetch(server.Url(FaultServer::NulInBody));
    EXPECT_EQ(nul.page, QStringLiteral("<p>before nul</p>\r\n"));

    const Outcome binary = Fetch(server.Url(FaultServer::BinaryWithoutType));
    EXPECT_EQ(binary.state.lastStatusCode, 200);
    EXPECT_TRUE(binary.state.notText);
    EXPECT_FALSE(binary.state.incomplete);
    EXPECT_EQ(binary.page, QString());
    EXPECT_FALSE(Fetch(server.Url(FaultServer::Plain)).state.notText);
}

// Bytes a page's character set cannot decode stay in its text as escapes,
// and a link holding them is requested with the very bytes of the page.
TEST_F(FaultFetchTest, UndecodableBytesReachTheServerAsSent)
{
    for (const std::string_view path : {FaultServer::InvalidUtf8, FaultServer::LyingCharset}) {
        SCOPED_TRACE(std::string(path));
        const Outcome o = Fetch(server.Url(path));
        EXPECT_EQ(o.state.lastStatusCode, 200);
        EXPECT_TRUE(o.page.contains(QStringLiteral("caf") + EscapedByte(0xE9)));
        QString href;
        ScanAnchors(o.page, QString(), [&href](const QString& link, const QString&, const QString&, const QString&) {
            href = link;
        });
        EXPECT_EQ(LinkAddressText(href), QStringLiteral("/link/caf%E9"));
        Fetch(server.Url("") + LinkAddressText(href).toStdString());
        EXPECT_EQ(server.Requests().back().Path, "/link/caf%E9");
    }
    const Outcome unknown = Fetch(server.Url(FaultServer::UnknownCharset));
    EXPECT_EQ(unknown.page, QStringLiteral(u"<p>café “quoted”</p>\r\n"));
}

TEST_F(FaultFetchTest, LongUrlsAreFetched)
{
    const Outcome longUrl = Fetch(server.LongUrl());
    EXPECT_EQ(longUrl.state.lastStatusCode, 200);
    EXPECT_EQ(server.Requests().back().Path.size(), std::size_t(FaultServer::LongUrlLength) - server.Url("").size());
}

TEST_F(FaultFetchTest, BadCertificatesFailUnlessVerificationIsOff)
{
    const struct {
        FaultServer::Certificate certificate;
        const char* failure;
    } cases[] = {
        {FaultServer::Certificate::Expired, "certificate not trusted: "},
        {FaultServer::Certificate::SelfSigned, "certificate not trusted: "},
        // Its certificate is made up too, so the trust check fails first.
        {FaultServer::Certificate::WrongHost, "certificate not trusted: "},
    };
    for (const auto& c : cases) {
        const Outcome verified = Fetch(server.TlsUrl(c.certificate));
        EXPECT_EQ(verified.state.lastStatusCode, -1);
        EXPECT_TRUE(verified.page.isEmpty());
        EXPECT_TRUE(verified.state.lastFetchError.startsWith(QLatin1String(c.failure)))
            << verified.state.lastFetchError.toStdString();

        FetchSettings insecure = Settings();
        insecure.insecure = true;
        const Outcome o = Fetch(server.TlsUrl(c.certificate), insecure);
        EXPECT_EQ(o.state.lastStatusCode, 200) << o.state.lastFetchError.toStdString();
        EXPECT_TRUE(o.page.contains(QStringLiteral("Served over TLS")));
    }
}

TEST(CertificateFailureText, SaysWhatFailed)
{
    const struct {
        const char* curl;
        const char* text;
    } cases[] = {
        {"SSL certificate problem: self-signed certificate", "certificate not trusted: self-signed certificate"},
        {"SSL certificate problem: certificate has expired", "certificate not trusted: certificate has expired"},
        {"SSL: no alternative certificate subject name matches target host name '127.0.0.1'",
         "certificate is for another host: no alternative certificate subject name matches target host name "
         "'127.0.0.1'"},
        {"SSL: certificate subject name 'a.example' does not match target host name 'b.example'",
         "certificate is for another host: certificate subject name 'a.example' does not match target host name "
         "'b.example'"},
        {"SSL peer certificate or SSH remote key was not OK", "certificate not trusted: SSL peer certificate or SSH "
                                                              "remote key was not OK"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CertificateFailureText(c.curl), QString::fromUtf8(c.text)) << c.curl;
}

}  // namespace
}  // namespace lexicrawl
