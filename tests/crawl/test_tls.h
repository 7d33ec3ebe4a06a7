#pragma once
// Server-side TLS set-ups for the fetcher's tests: a self-signed certificate
// made in memory, and a protocol-version range per server.
#include <openssl/ssl.h>

#include <memory>

namespace lexicrawl::test {

struct SslContextFree {
    void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
using SslContext = std::unique_ptr<SSL_CTX, SslContextFree>;

// A server context that speaks TLS versions minVersion..maxVersion (such as
// TLS1_VERSION, TLS1_3_VERSION) with a self-signed certificate for host
// (its common name), valid now or, with expired, for two days up to
// yesterday.
SslContext MakeServerContext(int minVersion, int maxVersion, bool expired = false, const char* host = "127.0.0.1");

}  // namespace lexicrawl::test
