#pragma once
// An HTTP server on 127.0.0.1 for the tests that crawl a site of their own.
// Routes are set on Routes(); Start() binds a free port and serves on a
// thread of its own until Stop() or the server's end. A site whose pages
// name their own address binds first (Bind), writes them, then Listen()s:
// connections made in between wait in the socket's backlog.
//
// A site class whose handlers read its other members calls Stop() in its
// destructor, so that no request is served while those members go.
#include <QString>

#include <thread>

#include <httplib.h>

namespace lexicrawl::testing {

class LoopbackServer {
public:
    LoopbackServer() = default;
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    ~LoopbackServer() { Stop(); }

    httplib::Server& Routes() { return server_; }
    void Bind() { port_ = server_.bind_to_any_port("127.0.0.1"); }
    void Listen()
    {
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    void Start()
    {
        Bind();
        Listen();
    }
    void Stop()
    {
        if (!thread_.joinable())
            return;
        server_.stop();
        thread_.join();
    }
    int Port() const { return port_; }
    // "http://127.0.0.1:PORT" and path after it.
    QString Url(const QString& path = QString()) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(port_) + path;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace lexicrawl::testing
