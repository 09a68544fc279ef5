#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

namespace orvanta::service {

// A self-signed certificate with its P-256 key, made in memory at start:
// the dialer accepts any certificate, so nothing needs to be on disk.
class Certificate {
public:
    static std::unique_ptr<Certificate> create(std::string& error);
    ~Certificate();
    Certificate(const Certificate&) = delete;
    Certificate& operator=(const Certificate&) = delete;

    X509* certificate() const { return certificate_; }
    EVP_PKEY* key() const { return key_; }

private:
    Certificate() = default;
    X509* certificate_ = nullptr;
    EVP_PKEY* key_ = nullptr;
};

}
