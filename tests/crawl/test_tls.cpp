#include "test_tls.h"

#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <stdexcept>

namespace lexicrawl::test {

namespace {

struct X509Free {
    void operator()(X509* x) const { X509_free(x); }
};

// One key for every certificate of the run: RSA works with every version.
EVP_PKEY* TestKey()
{
    static EVP_PKEY* const key = EVP_RSA_gen(2048);
    if (!key)
        throw std::runtime_error("test TLS: no key");
    return key;
}

std::unique_ptr<X509, X509Free> MakeCertificate(bool expired, const char* host)
{
    std::unique_ptr<X509, X509Free> cert(X509_new());
    const long day = 24 * 60 * 60;
    X509_NAME* name = cert ? X509_get_subject_name(cert.get()) : nullptr;
    const bool ok = name && X509_set_version(cert.get(), 2) == 1 &&
                    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1) == 1 &&
                    X509_gmtime_adj(X509_getm_notBefore(cert.get()), expired ? -2 * day : -day) &&
                    X509_gmtime_adj(X509_getm_notAfter(cert.get()), expired ? -day : day) &&
                    X509_set_pubkey(cert.get(), TestKey()) == 1 &&
                    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                               reinterpret_cast<const unsigned char*>(host), -1, -1, 0) == 1 &&
                    X509_set_issuer_name(cert.get(), name) == 1 && X509_sign(cert.get(), TestKey(), EVP_sha256()) > 0;
    if (!ok)
        throw std::runtime_error("test TLS: no certificate");
    return cert;
}

}  // namespace

SslContext MakeServerContext(int minVersion, int maxVersion, bool expired, const char* host)
{
    SslContext ctx(SSL_CTX_new(TLS_server_method()));
    const auto cert = MakeCertificate(expired, host);
    // Security level 0 lets the server speak TLS 1.0 and 1.1 at all.
    const bool ok = ctx && SSL_CTX_set_cipher_list(ctx.get(), "DEFAULT:@SECLEVEL=0") == 1 &&
                    SSL_CTX_set_min_proto_version(ctx.get(), minVersion) == 1 &&
                    SSL_CTX_set_max_proto_version(ctx.get(), maxVersion) == 1 &&
                    SSL_CTX_use_certificate(ctx.get(), cert.get()) == 1 &&
                    SSL_CTX_use_PrivateKey(ctx.get(), TestKey()) == 1;
    if (!ok)
        throw std::runtime_error("test TLS: no server context");
    return ctx;
}

}  // namespace lexicrawl::test
