#pragma once
// A throw-away certificate authority for one test and the certificate for 127.0.0.1 it signs for a test
// server. Both are made at run time and valid from now for a day, so nothing that can expire is kept in
// the sources.

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

class TestCertificateAuthority final {
public:
    // `name` becomes the authority's common name; its certificate is written as PEM to `caFile`, the
    // file a client trusts it by. Throws when OpenSSL fails.
    TestCertificateAuthority(const std::string& name, const std::string& caFile);

    const std::string& CaFile() const { return m_caFile; }
    // The server's key and its certificate for IP address 127.0.0.1, signed by this authority.
    EVP_PKEY* ServerKey() const { return m_serverKey.get(); }
    X509* ServerCertificate() const { return m_server.get(); }

private:
    struct KeyFree {
        void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    };
    struct CertificateFree {
        void operator()(X509* certificate) const { X509_free(certificate); }
    };
    using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
    using Certificate = std::unique_ptr<X509, CertificateFree>;

    static Key NewKey();
    static Certificate NewCertificate(const std::string& commonName, long serial, EVP_PKEY* key);

    std::string m_caFile;
    Key m_caKey;
    Certificate m_ca;
    Key m_serverKey;
    Certificate m_server;
};
