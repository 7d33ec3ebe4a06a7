#include "fault_server.h"

#include <zlib.h>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace lexicrawl::test {

namespace {

using namespace std::chrono_literals;
using Connection = LoopbackServer::Connection;

constexpr int kMaxWaitMs = 60'000;

std::string Head(std::string_view status, std::string_view headers, long long length)
{
    return std::string(status) + "\r\n" + std::string(headers) + "Content-Length: " + std::to_string(length) +
           "\r\nConnection: close\r\n\r\n";
}

std::string HtmlHeaders(std::string_view charset = "utf-8")
{
    return "Content-Type: text/html; charset=" + std::string(charset) + "\r\n";
}

void SendPage(Connection& c, std::string_view body)
{
    c.Send(Answer("HTTP/1.1 200 OK", HtmlHeaders(), body));
}

void Redirect(Connection& c, std::string_view location)
{
    c.Send("HTTP/1.1 302 Found\r\nLocation: " + std::string(location) + "\r\nContent-Length: 0\r\n\r\n");
}

// Sends the head, then count copies of unit (in slices), then tail; stops
// when the client goes away.
void Stream(Connection& c, std::string_view headers, std::string_view head, std::string_view unit, long long count,
            std::string_view tail)
{
    const long long length = (long long)(head.size() + tail.size()) + count * (long long)unit.size();
    if (!c.Send(Head("HTTP/1.1 200 OK", headers, length)) || !c.Send(head))
        return;
    std::string slice;
    const long long perSlice = std::max<long long>(1, 64 * 1024 / (long long)unit.size());
    for (long long i = 0; i < perSlice; ++i)
        slice += unit;
    for (long long left = count; left > 0 && !c.Stopping(); left -= perSlice) {
        const std::string_view piece(slice.data(), std::size_t(std::min(left, perSlice)) * unit.size());
        if (!c.Send(piece))
            return;
    }
    c.Send(tail);
}

// Sends text one byte every 200 ms.
bool DripBytes(Connection& c, std::string_view text)
{
    for (std::size_t i = 0; i < text.size() && !c.Stopping(); ++i) {
        if (!c.Send(text.substr(i, 1)))
            return false;
        std::this_thread::sleep_for(200ms);
    }
    return true;
}

const std::string kDripBody = "<p>" + std::string(2000, 'x') + "</p>";

void Drip(Connection& c)
{
    if (c.Send(Head("HTTP/1.1 200 OK", HtmlHeaders(), (long long)kDripBody.size())))
        DripBytes(c, kDripBody);
}

void DripHead(Connection& c)
{
    DripBytes(c, Answer("HTTP/1.1 200 OK", HtmlHeaders(), kDripBody));
}

void Endless(Connection& c)
{
    if (!c.Send(Head("HTTP/1.1 200 OK", HtmlHeaders(), 1LL << 30)))
        return;
    const std::string slice(4096, 'w');
    for (int i = 0; i < kMaxWaitMs / 100 && !c.Stopping(); ++i) {
        if (!c.Send(slice))
            return;
        std::this_thread::sleep_for(100ms);
    }
}

// 1 GiB of zeros as gzip: each MiB after a full flush compresses to the same
// block, so the stream is that block repeated, with a trailer computed for
// the whole.
const std::string& GzipBombBody()
{
    static std::once_flag once;
    static std::string body;
    std::call_once(once, [] {
        z_stream z{};
        if (deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::runtime_error("gzip bomb: deflateInit2");
        std::string zeros(1 << 20, '\0');
        const auto deflateMiB = [&](int flush) {
            std::string out(1 << 20, '\0');
            z.next_in = reinterpret_cast<Bytef*>(zeros.data());
            z.avail_in = flush == Z_FINISH ? 0 : uInt(zeros.size());
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            out.resize(out.size() - z.avail_out);
            return out;
        };
        const std::string first = deflateMiB(Z_FULL_FLUSH);
        const std::string block = deflateMiB(Z_FULL_FLUSH);
        std::string finish = deflateMiB(Z_FINISH);
        deflateEnd(&z);
        finish.resize(finish.size() - 8);  // the trailer zlib wrote for 2 MiB
        const int mebibytes = 1024;
        body = first;
        for (int i = 1; i < mebibytes; ++i)
            body += block;
        body += finish;
        uLong crc = crc32(0L, Z_NULL, 0);
        const uLong crcMiB = crc32(crc, reinterpret_cast<const Bytef*>(zeros.data()), uInt(zeros.size()));
        for (int i = 0; i < mebibytes; ++i)
            crc = crc32_combine(crc, crcMiB, z_off_t(zeros.size()));
        const uint32_t size = uint32_t((unsigned long long)mebibytes << 20);  // modulo 2^32, as gzip keeps it
        for (const uint32_t v : {uint32_t(crc), size})
            for (int k = 0; k < 4; ++k)
                body += char((v >> (8 * k)) & 0xFF);
    });
    return body;
}

void WaitForever(Connection& c)
{
    c.WaitForClose(kMaxWaitMs);
}

std::string DeepPage()
{
    std::string page = "<html><body>";
    for (int i = 0; i < FaultServer::DeepLevels; ++i)
        page += "<div>";
    return page + "<h1>deep heading</h1>bottom text</body></html>";
}

std::string ManyLinksPage()
{
    std::string page = "<html><body>";
    for (int i = 0; i < FaultServer::ManyLinksCount; ++i)
        page += "<a href=\"/link/" + std::to_string(i) + "\">link " + std::to_string(i) + "</a>\n";
    return page + "</body></html>";
}

const std::string& Cached(std::string (*make)())
{
    static std::mutex mutex;
    static std::map<std::string (*)(), std::string> pages;
    std::lock_guard lock(mutex);
    auto it = pages.find(make);
    if (it == pages.end())
        it = pages.emplace(make, make()).first;
    return it->second;
}

using Route = std::function<void(Connection&)>;

const std::map<std::string_view, Route>& Routes()
{
    static const std::map<std::string_view, Route> routes = {
        {FaultServer::Plain, [](Connection& c) { SendPage(c, "<title>plain</title><p>A plain page.</p>"); }},
        {FaultServer::ResetMidBody,
         [](Connection& c) {
             c.Send(Head("HTTP/1.1 200 OK", HtmlHeaders(), 100'000) + std::string(1000, 'r'));
             std::this_thread::sleep_for(50ms);
             c.ResetWhenDone();
         }},
        {FaultServer::StallBeforeHead, WaitForever},
        {FaultServer::StallMidBody,
         [](Connection& c) {
             if (c.Send(Head("HTTP/1.1 200 OK", HtmlHeaders(), 100'000) + std::string(1000, 's')))
                 WaitForever(c);
         }},
        {FaultServer::Drip, Drip},
        {FaultServer::DripHead, DripHead},
        {FaultServer::Endless, Endless},
        {FaultServer::HugeBody,
         [](Connection& c) { Stream(c, HtmlHeaders(), "<p>", "huge ", (1LL << 30) / 5, "</p>"); }},
        {FaultServer::GzipBomb,
         [](Connection& c) {
             c.Send(Answer("HTTP/1.1 200 OK", HtmlHeaders() + "Content-Encoding: gzip\r\n", GzipBombBody()));
         }},
        {FaultServer::LyingCharset,
         [](Connection& c) { SendPage(c, "<p>caf\xE9 na\xEFve se\xF1or</p><a href=\"/link/caf\xE9\">x</a>"); }},
        {FaultServer::UnknownCharset,
         [](Connection& c) {
             c.Send(Answer("HTTP/1.1 200 OK", HtmlHeaders("x-no-such-charset"), "<p>caf\xE9 \x93quoted\x94</p>"));
         }},
        {FaultServer::CrInLocation,
         [](Connection& c) {
             c.Send("HTTP/1.1 302 Found\r\nLocation: /link/first\rInjected: yes\r\nContent-Length: 0\r\n\r\n");
         }},
        {FaultServer::FoldedLocation,
         [](Connection& c) {
             c.Send("HTTP/1.1 302 Found\r\nLocation: /link/first\r\n second\r\nContent-Length: 0\r\n\r\n");
         }},
        {FaultServer::Latin1Location, [](Connection& c) { Redirect(c, "/link/caf\xE9"); }},
        {FaultServer::NulInLocation,
         [](Connection& c) {
             c.Send(std::string("HTTP/1.1 302 Found\r\nLocation: /link/a\0b\r\nContent-Length: 0\r\n\r\n", 62));
         }},
        {FaultServer::ManyLinks, [](Connection& c) { SendPage(c, Cached(ManyLinksPage)); }},
        {FaultServer::Deep, [](Connection& c) { SendPage(c, Cached(DeepPage)); }},
        {FaultServer::OneWord,
         [](Connection& c) {
             Stream(c, HtmlHeaders(), "<html><body><p>", "lexicrawl ", FaultServer::OneWordBytes / 10, "</p></body></html>");
         }},
        {FaultServer::NulInBody,
         [](Connection& c) { SendPage(c, std::string("<p>before nul</p>\0<p>after nul</p>", 34)); }},
        {FaultServer::InvalidUtf8,
         [](Connection& c) { SendPage(c, "<p>bad \xFF\xFE bytes</p><a href=\"/link/caf\xE9\">caf\xE9</a>"); }},
        {FaultServer::BinaryWithoutType,
         [](Connection& c) {
             c.Send(Answer("HTTP/1.1 200 OK", "", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR junk words here", 32)));
         }},
    };
    return routes;
}

}  // namespace

FaultServer::FaultServer()
    : expired_(MakeServerContext(TLS1_VERSION, TLS1_3_VERSION, true)),
      selfSigned_(MakeServerContext(TLS1_VERSION, TLS1_3_VERSION, false)),
      wrongHost_(MakeServerContext(TLS1_VERSION, TLS1_3_VERSION, false, "wrong.host.invalid"))
{
    http_ = std::make_unique<LoopbackServer>(
        [this](const LoopbackServer::Request& r, Connection& c) { Serve(r, c, *this); });
    const auto tlsPage = [](const LoopbackServer::Request&, Connection& c) {
        SendPage(c, "<title>secure</title><p>Served over TLS.</p>");
    };
    expiredServer_ = std::make_unique<LoopbackServer>(tlsPage, expired_.get());
    selfSignedServer_ = std::make_unique<LoopbackServer>(tlsPage, selfSigned_.get());
    wrongHostServer_ = std::make_unique<LoopbackServer>(tlsPage, wrongHost_.get());
}

void FaultServer::Serve(const LoopbackServer::Request& request, Connection& c, const FaultServer& self)
{
    const std::string& path = request.Path;
    if (path == Index)
        return SendPage(c, self.IndexPage());
    if (const auto it = Routes().find(path); it != Routes().end())
        return it->second(c);
    // Redirects give the whole address, port included, so that a crawl can
    // follow them to this server.
    if (path == RedirectLoop || path == "/loop-b")
        return Redirect(c, self.Url(path == RedirectLoop ? "/loop-b" : RedirectLoop));
    if (path.rfind("/chain/", 0) == 0) {
        const int n = std::atoi(path.c_str() + 7);
        if (n >= 1 && n <= ChainLength)
            return Redirect(c, self.Url("/chain/" + std::to_string(n + 1)));
        return SendPage(c, "<p>end of the chain</p>");
    }
    if (path.rfind(LinkPrefix, 0) == 0 || path.rfind(LongPrefix, 0) == 0)
        return SendPage(c, "<p>a linked page</p>");
    c.Send(Answer("HTTP/1.1 404 Not Found", HtmlHeaders(), "<p>no such route</p>"));
}

std::string FaultServer::Url(std::string_view path) const
{
    return http_->Url(path);
}

std::string FaultServer::TlsUrl(Certificate certificate) const
{
    const LoopbackServer& server = certificate == Certificate::Expired      ? *expiredServer_
                                   : certificate == Certificate::SelfSigned ? *selfSignedServer_
                                                                            : *wrongHostServer_;
    return server.Url("/");
}

std::string FaultServer::LongUrl() const
{
    std::string url = Url(LongPrefix);
    url.resize(LongUrlLength, 'x');
    return url;
}

std::vector<std::string> FaultServer::RouteUrls() const
{
    std::vector<std::string> urls;
    for (const auto& [path, route] : Routes())
        urls.push_back(Url(path));
    urls.push_back(Url(RedirectLoop));
    urls.push_back(Url(RedirectChain));
    urls.push_back(LongUrl());
    for (const Certificate c : {Certificate::Expired, Certificate::SelfSigned, Certificate::WrongHost})
        urls.push_back(TlsUrl(c));
    return urls;
}

std::string FaultServer::IndexPage() const
{
    std::string page = "<html><head><title>Fault server</title></head><body>\n";
    for (const std::string& url : RouteUrls())
        page += "<a href=\"" + url + "\">route</a>\n";
    return page + "</body></html>\n";
}

}  // namespace lexicrawl::test
