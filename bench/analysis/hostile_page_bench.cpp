// Time and peak memory of one hostile page, fetched from a loopback server
// and read as the crawl reads it (facts, readable text, words, links).
// Run one case per process, so that the peak is the case's own:
//   build/bin/hostile_page_bench word [MB]       a page of one repeated word (default 50 MB)
//   build/bin/hostile_page_bench deep [levels]   divs nested that deep (default 100,000)
//   build/bin/hostile_page_bench links [count]   a page of that many links (default 100,000)
// Prints the page size, the seconds and the peak resident memory of the
// fetch, of the page's recording (ExtractPageRecord) and of its link scan,
// each peak above the level before the fetch (the client library already set
// up), and the largest of them as a multiple of the page size.
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "analysis/page_record.h"
#include "crawl/anchor_scanner.h"
#include "crawl/fetcher.h"
#include "support/process_memory.h"

using namespace lexicrawl;
using lexicrawl::testing::ResetPeak;
using lexicrawl::testing::ResidentKb;

namespace {

// The page as chunks made on the fly, so that the server holds none of it.
struct Page {
    std::string head, unit, tail;
    long long units = 0;
    long long Size() const { return (long long)(head.size() + tail.size()) + units * (long long)unit.size(); }
};

Page MakePage(const std::string& kind, long long n)
{
    if (kind == "word")
        return {"<html><body><p>", "lexicrawl ", "</p></body></html>", n * 1024 * 1024 / 10};
    if (kind == "deep")
        return {"<html><body>", "<div>", "<h1>deep</h1>word</body></html>", n};
    return {"<html><body>", "<a href=\"/page\">link</a>\n", "</body></html>", n};
}

// Serves one GET with the page and closes; answers the port.
int Serve(const Page& page, std::thread& thread)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    thread = std::thread([listener, &page] {
        const int fd = ::accept(listener, nullptr, nullptr);
        char request[4096];
        (void)::recv(fd, request, sizeof request, 0);
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                                 std::to_string(page.Size()) + "\r\nConnection: close\r\n\r\n" + page.head;
        ::send(fd, head.data(), head.size(), MSG_NOSIGNAL);
        std::string chunk;
        for (int i = 0; i < 4096; ++i)
            chunk += page.unit;
        for (long long left = page.units; left > 0; left -= 4096) {
            const std::size_t bytes = std::size_t(std::min<long long>(left, 4096)) * page.unit.size();
            if (::send(fd, chunk.data(), bytes, MSG_NOSIGNAL) < 0)
                break;
        }
        ::send(fd, page.tail.data(), page.tail.size(), MSG_NOSIGNAL);
        ::close(fd);
        ::close(listener);
    });
    return ntohs(address.sin_port);
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc > 1 ? argv[1] : "word";
    const long long n = argc > 2 ? std::atoll(argv[2]) : (kind == "word" ? 50 : 100'000);
    const Page page = MakePage(kind, n);
    // The client library sets itself up at the first fetch, once per
    // process; a fetch that finds no server pays for that before the count.
    FetchSettings settings;
    settings.connectTimeoutMs = settings.readTimeoutMs = 10'000;
    FetchPage(QStringLiteral("http://127.0.0.1:1/"), settings);
    std::thread server;
    const int port = Serve(page, server);
    ResetPeak();
    const long before = ResidentKb("VmRSS:");

    auto start = std::chrono::steady_clock::now();
    const QString url = QStringLiteral("http://127.0.0.1:%1/page").arg(port);
    QString source = FetchPage(url, settings);
    server.join();
    const double fetch = Seconds(start);
    const int status = ThisThreadFetcher().lastStatusCode;
    const long fetchPeak = ResidentKb("VmHWM:");

    ResetPeak();
    start = std::chrono::steady_clock::now();
    const PageRecord record = ExtractPageRecord(source);
    const double recording = Seconds(start);
    const long recordPeak = ResidentKb("VmHWM:");

    ResetPeak();
    start = std::chrono::steady_clock::now();
    long links = 0;
    ScanAnchors(source, url, [&links](const QString&, const QString&, const QString&, const QString&) { ++links; });
    const double scanning = Seconds(start);
    const long scanPeak = ResidentKb("VmHWM:");

    const long peak = std::max({fetchPeak, recordPeak, scanPeak});
    const double mb = double(page.Size()) / 1e6;
    const auto above = [before](long kb) { return double(kb - before) / 1024.0; };
    std::printf("%s: status %d, page %.1f MB, %lld words, %ld links\n"
                "  fetch %.2f s, peak %.0f MB; record %.2f s, peak %.0f MB; links %.2f s, peak %.0f MB\n"
                "  peak %.0f MB above the level before the fetch: %.1f times the page\n",
                kind.c_str(), status, mb, (long long)record.words.size(), links, fetch, above(fetchPeak), recording,
                above(recordPeak), scanning, above(scanPeak), above(peak), above(peak) * 1048576.0 / double(page.Size()));
    return 0;
}
