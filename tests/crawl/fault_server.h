#pragma once
// A loopback web site that misbehaves on purpose: one route per fault a
// crawler meets on the open web (broken connections, stalls, endless or
// oversized bodies, lying headers, redirect loops, hostile pages), and three
// HTTPS servers with bad certificates. The index page "/" links to every
// route, so that a crawl started there meets them all.
//
// Bodies are made as they are sent: the 1 GiB body and the 50 MB page are
// never held in memory, and the gzip bomb is a few kilobytes of repeated
// blocks. Every route that waits ends when the client goes away or the
// server stops, so a test ends as soon as its fetch does.
//
// Thread-safety: the routes are served on connection threads; the accessors
// may be called from any thread.
#include "loopback_server.h"
#include "test_tls.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lexicrawl::test {

class FaultServer {
public:
    // The routes of the plain HTTP server.
    static constexpr std::string_view Index = "/";
    static constexpr std::string_view Plain = "/plain";                  // a small, well-behaved page
    static constexpr std::string_view ResetMidBody = "/reset-mid-body";  // 1,000 of 100,000 bytes, then RST
    static constexpr std::string_view StallBeforeHead = "/stall-before-head";
    static constexpr std::string_view StallMidBody = "/stall-mid-body";  // 1,000 of 100,000 bytes, then silence
    static constexpr std::string_view Drip = "/drip";                    // the body one byte every 200 ms
    static constexpr std::string_view DripHead = "/drip-head";           // the whole answer so
    static constexpr std::string_view Endless = "/endless";              // 4 KiB every 100 ms, for ever
    static constexpr std::string_view HugeBody = "/huge-body";           // 1 GiB, streamed
    static constexpr std::string_view GzipBomb = "/gzip-bomb";           // 1 GiB of zeros in about 1 MiB of gzip
    static constexpr std::string_view LyingCharset = "/lying-charset";   // Latin-1 bytes declared as UTF-8
    static constexpr std::string_view UnknownCharset = "/unknown-charset";
    // Redirects give the whole address, port included.
    static constexpr std::string_view RedirectLoop = "/loop-a";          // /loop-a -> /loop-b -> /loop-a
    static constexpr std::string_view RedirectChain = "/chain/1";        // /chain/1 -> ... -> /chain/51, a page
    static constexpr int ChainLength = 50;
    static constexpr std::string_view CrInLocation = "/cr-in-location";  // a bare CR inside the Location value
    static constexpr std::string_view FoldedLocation = "/folded-location";  // Location continued on a folded line
    static constexpr std::string_view Latin1Location = "/latin1-location";  // Location: /caf<E9>
    static constexpr std::string_view NulInLocation = "/nul-in-location";
    static constexpr std::string_view ManyLinks = "/many-links";         // 100,000 links to /link/<n>
    static constexpr int ManyLinksCount = 100'000;
    static constexpr std::string_view Deep = "/deep";                    // divs nested 100,000 deep
    static constexpr int DeepLevels = 100'000;
    static constexpr std::string_view OneWord = "/one-word";             // 50 MB of one word
    static constexpr long long OneWordBytes = 50LL * 1024 * 1024;
    static constexpr std::string_view NulInBody = "/nul-in-body";
    static constexpr std::string_view InvalidUtf8 = "/invalid-utf8";     // invalid bytes in text and in a link
    static constexpr std::string_view BinaryWithoutType = "/binary";     // PNG bytes, no Content-Type
    // Any path under these answers with a small page.
    static constexpr std::string_view LinkPrefix = "/link/";
    static constexpr std::string_view LongPrefix = "/long/";
    static constexpr int LongUrlLength = 100'000;

    // The HTTPS servers, each serving "/" with a small page.
    enum class Certificate { Expired, SelfSigned, WrongHost };

    FaultServer();

    // "http://127.0.0.1:<port>" + path.
    std::string Url(std::string_view path) const;
    // "https://127.0.0.1:<port>/" of the server with that certificate.
    std::string TlsUrl(Certificate certificate) const;
    // A URL of LongUrlLength characters under LongPrefix.
    std::string LongUrl() const;
    // Every route of the index page, as full URLs.
    std::vector<std::string> RouteUrls() const;

    std::vector<LoopbackServer::Request> Requests() const { return http_->Requests(); }

private:
    static void Serve(const LoopbackServer::Request& request, LoopbackServer::Connection& connection,
                      const FaultServer& self);
    std::string IndexPage() const;

    SslContext expired_, selfSigned_, wrongHost_;
    std::unique_ptr<LoopbackServer> http_;
    std::unique_ptr<LoopbackServer> expiredServer_, selfSignedServer_, wrongHostServer_;
};

}  // namespace lexicrawl::test
