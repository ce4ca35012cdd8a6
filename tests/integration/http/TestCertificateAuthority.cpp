#include "TestCertificateAuthority.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace {

constexpr long kOneDay = 24 * 60 * 60;

struct ExtensionFree {
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free_all(bio); }
};

void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error("cannot make the test certificate: " + what);
    }
}

// Extensions are added in the text form of OpenSSL's configuration files, which reads as what it means.
void AddExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    std::unique_ptr<X509_EXTENSION, ExtensionFree> extension(
        X509V3_EXT_conf_nid(nullptr, &context, nid, value));
    Check(extension && X509_add_ext(certificate, extension.get(), -1) == 1, value);
}

void Sign(X509* certificate, X509* issuer, EVP_PKEY* issuerKey) {
    Check(X509_set_issuer_name(certificate, X509_get_subject_name(issuer)) == 1, "issuer");
    Check(X509_sign(certificate, issuerKey, EVP_sha256()) > 0, "signature");
}

}  // namespace

TestCertificateAuthority::TestCertificateAuthority(const std::string& name, const std::string& caFile)
    : m_caFile(caFile),
      m_caKey(NewKey()),
      m_ca(NewCertificate(name, 1, m_caKey.get())),
      m_serverKey(NewKey()),
      m_server(NewCertificate("127.0.0.1", 2, m_serverKey.get())) {
    AddExtension(m_ca.get(), m_ca.get(), NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(m_ca.get(), m_ca.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    AddExtension(m_ca.get(), m_ca.get(), NID_subject_key_identifier, "hash");
    Sign(m_ca.get(), m_ca.get(), m_caKey.get());

    // The client compares the address it connected to with the IP entry of the alternative names.
    AddExtension(m_server.get(), m_ca.get(), NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(m_server.get(), m_ca.get(), NID_ext_key_usage, "serverAuth");
    AddExtension(m_server.get(), m_ca.get(), NID_subject_alt_name, "IP:127.0.0.1");
    AddExtension(m_server.get(), m_ca.get(), NID_authority_key_identifier, "keyid:always");
    Sign(m_server.get(), m_ca.get(), m_caKey.get());

    std::unique_ptr<BIO, BioFree> file(BIO_new_file(caFile.c_str(), "w"));
    Check(file && PEM_write_bio_X509(file.get(), m_ca.get()) == 1, caFile);
}

// Elliptic-curve keys take a fraction of the time RSA keys do, which counts with four keys per test.
TestCertificateAuthority::Key TestCertificateAuthority::NewKey() {
    Key key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key");
    return key;
}

TestCertificateAuthority::Certificate TestCertificateAuthority::NewCertificate(const std::string& commonName,
                                                                               long serial, EVP_PKEY* key) {
    Certificate certificate(X509_new());
    Check(certificate != nullptr, "certificate");
    X509* raw = certificate.get();
    const auto* name = reinterpret_cast<const unsigned char*>(commonName.c_str());
    Check(X509_set_version(raw, X509_VERSION_3) == 1, "version");
    Check(ASN1_INTEGER_set(X509_get_serialNumber(raw), serial) == 1, "serial number");
    Check(X509_gmtime_adj(X509_getm_notBefore(raw), 0) && X509_gmtime_adj(X509_getm_notAfter(raw), kOneDay),
          "validity");
    Check(X509_NAME_add_entry_by_txt(X509_get_subject_name(raw), "CN", MBSTRING_UTF8, name, -1, -1, 0) == 1,
          commonName);
    Check(X509_set_pubkey(raw, key) == 1, "public key");
    return certificate;
}
