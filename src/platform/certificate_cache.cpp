#include "platform/certificate_cache.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <map>
#include <mutex>

namespace sp {

namespace {

struct X509Deleter {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
struct BioDeleter {
  void operator()(BIO* bio) const { BIO_free(bio); }
};

}  // namespace

class CertificateList {
 public:
  explicit CertificateList(const std::string& pemText) {
    const std::unique_ptr<BIO, BioDeleter> bio(
        BIO_new_mem_buf(pemText.data(), static_cast<int>(pemText.size())));
    if (!bio) return;
    while (X509* certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
      certificates_.emplace_back(certificate);
    }
    // The end of the text shows as an error on OpenSSL's queue; it is no error here.
    ERR_clear_error();
  }

  const std::vector<std::unique_ptr<X509, X509Deleter>>& certificates() const {
    return certificates_;
  }

 private:
  std::vector<std::unique_ptr<X509, X509Deleter>> certificates_;
};

std::shared_ptr<const CertificateList> cachedCertificates(const std::string& pemText) {
  static std::mutex guard;
  // Keyed by the text itself, so a file that changes is parsed again.
  static std::map<std::string, std::shared_ptr<const CertificateList>> parsed;
  const std::lock_guard<std::mutex> lock(guard);
  auto& entry = parsed[pemText];
  if (!entry) entry = std::make_shared<const CertificateList>(pemText);
  return entry;
}

std::size_t certificateCount(const CertificateList& certificates) {
  return certificates.certificates().size();
}

bool addToTrustStore(void* sslContext, const CertificateList& certificates) {
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  if (store == nullptr) return false;
  bool allAdded = true;
  // The store takes its own reference to each certificate.
  for (const auto& certificate : certificates.certificates()) {
    allAdded = X509_STORE_add_cert(store, certificate.get()) == 1 && allAdded;
  }
  ERR_clear_error();
  return allAdded;
}

}  // namespace sp
