#pragma once
// A small HTTP server on 127.0.0.1 for the fetcher's tests. Each connection
// runs on its own thread and hands the request head to a handler that writes
// the raw answer bytes, so a test controls every byte (status lines, odd line
// ends, broken encodings) and the timing (stalls, slow bodies). With an
// SSL_CTX it speaks TLS on the same terms.
//
// Thread-safety: Requests() may be called while connections are served; the
// handler runs on connection threads.
#include <openssl/ssl.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lexicrawl::test {

class LoopbackServer {
public:
    struct Request {
        std::string Head;  // request line and headers, CR LF kept
        std::string Path;  // the request target
    };

    // One accepted connection, as the handler sees it.
    class Connection {
    public:
        Connection(int fd, SSL* ssl, const std::atomic<bool>& stopping) : fd_(fd), ssl_(ssl), stopping_(stopping) {}
        // False once the peer is gone.
        bool Send(std::string_view bytes);
        // Returns when the client closes the connection (or sends anything),
        // the server stops, or maxMs pass.
        void WaitForClose(int maxMs);
        bool Stopping() const { return stopping_.load(); }
        // Ends a TLS connection without a close-notify, as some servers do.
        void CloseWithoutNotify() { abrupt_ = true; }
        bool Abrupt() const { return abrupt_; }
        // Ends the connection with a reset (RST) instead of an orderly close.
        void ResetWhenDone() { reset_ = true; }
        bool Reset() const { return reset_; }

    private:
        int fd_;
        SSL* ssl_;
        const std::atomic<bool>& stopping_;
        bool abrupt_ = false;
        bool reset_ = false;
    };

    using Handler = std::function<void(const Request&, Connection&)>;

    // tls may be null (plain HTTP); the server keeps its own reference.
    explicit LoopbackServer(Handler handler, SSL_CTX* tls = nullptr);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:port" + path, or https with TLS.
    std::string Url(std::string_view path) const;
    std::vector<Request> Requests() const;

private:
    void AcceptLoop();
    void Serve(int fd);
    bool ReadHead(int fd, SSL* ssl, Request* request);

    Handler handler_;
    SSL_CTX* tls_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptThread_;
    mutable std::mutex mutex_;
    std::vector<std::thread> connections_;
    std::vector<Request> requests_;
};

// Raw bytes of a complete answer: the status line, the given header lines
// (each ending in CR LF), Content-Length and Connection: close, the body.
std::string Answer(std::string_view statusLine, std::string_view headers, std::string_view body);

}  // namespace lexicrawl::test
