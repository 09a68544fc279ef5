#include "Certificate.h"

#include <openssl/ec.h>
#include <openssl/x509v3.h>

namespace orvanta::service {

std::unique_ptr<Certificate> Certificate::create(std::string& error)
{
    std::unique_ptr<Certificate> result(new Certificate);
    result->key_ = EVP_EC_gen("P-256");
    result->certificate_ = X509_new();
    X509* cert = result->certificate_;
    if (!result->key_ || !cert) {
        error = "cannot create a key";
        return nullptr;
    }
    X509_NAME* name = X509_get_subject_name(cert);
    const bool ok = X509_set_version(cert, 2) && ASN1_INTEGER_set(X509_get_serialNumber(cert), 1) &&
                    X509_gmtime_adj(X509_getm_notBefore(cert), -3600) &&
                    X509_gmtime_adj(X509_getm_notAfter(cert), 3600L * 24 * 365) &&
                    X509_set_pubkey(cert, result->key_) &&
                    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                               reinterpret_cast<const unsigned char*>("127.0.0.1"),
                                               -1, -1, 0) &&
                    X509_set_issuer_name(cert, name) &&
                    X509_sign(cert, result->key_, EVP_sha256()) > 0;
    if (!ok) {
        error = "cannot sign the certificate";
        return nullptr;
    }
    return result;
}

Certificate::~Certificate()
{
    X509_free(certificate_);
    EVP_PKEY_free(key_);
}

}
