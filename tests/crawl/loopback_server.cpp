#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>

namespace lexicrawl::test {

namespace {

constexpr int SliceMs = 20;

void SetReceiveTimeout(int fd, int seconds)
{
    timeval tv{};
    tv.tv_sec = seconds;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

}  // namespace

bool LoopbackServer::Connection::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ssl_ ? SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()))
                                  : ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

void LoopbackServer::Connection::WaitForClose(int maxMs)
{
    for (int waited = 0; waited < maxMs && !stopping_.load(); waited += SliceMs) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, SliceMs) != 0)
            return;
    }
}

LoopbackServer::LoopbackServer(Handler handler, SSL_CTX* tls) : handler_(std::move(handler)), tls_(tls)
{
    std::signal(SIGPIPE, SIG_IGN);  // SSL_write on a closed socket
    if (tls_)
        SSL_CTX_up_ref(tls_);
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("loopback server: cannot listen");
    port_ = ntohs(address.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer()
{
    stopping_ = true;
    acceptThread_.join();
    for (std::thread& t : connections_)
        t.join();
    ::close(listenFd_);
    if (tls_)
        SSL_CTX_free(tls_);
}

std::string LoopbackServer::Url(std::string_view path) const
{
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<LoopbackServer::Request> LoopbackServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackServer::AcceptLoop()
{
    while (!stopping_.load()) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, SliceMs) <= 0)
            continue;
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, fd] { Serve(fd); });
    }
}

void LoopbackServer::Serve(int fd)
{
    SetReceiveTimeout(fd, 5);
    SSL* ssl = nullptr;
    if (tls_) {
        ssl = SSL_new(tls_);
        SSL_set_fd(ssl, fd);
        if (SSL_accept(ssl) != 1) {
            SSL_free(ssl);
            ::close(fd);
            return;
        }
    }
    Request request;
    Connection connection(fd, ssl, stopping_);
    if (ReadHead(fd, ssl, &request)) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        handler_(request, connection);
    }
    if (connection.Reset()) {
        const linger reset{1, 0};  // close() then sends RST
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        if (ssl)
            SSL_free(ssl);
    } else if (ssl) {
        if (!connection.Abrupt())
            SSL_shutdown(ssl);
        SSL_free(ssl);
    } else {
        ::shutdown(fd, SHUT_WR);
    }
    ::close(fd);
}

bool LoopbackServer::ReadHead(int fd, SSL* ssl, Request* request)
{
    std::string& head = request->Head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = ssl ? SSL_read(ssl, buffer, sizeof buffer) : ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        head.append(buffer, static_cast<size_t>(got));
    }
    const size_t first = head.find(' ');
    const size_t second = head.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    request->Path = head.substr(first + 1, second - first - 1);
    return true;
}

std::string Answer(std::string_view statusLine, std::string_view headers, std::string_view body)
{
    std::string answer(statusLine);
    answer += "\r\n";
    answer += headers;
    answer += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    answer += body;
    return answer;
}

}  // namespace lexicrawl::test
