// Certificate authorities parsed once per process. OpenSSL 3 takes tens of
// milliseconds to parse the system's bundle; handed to libcurl as PEM text, it
// was parsed again for every request, far longer than a whole local request.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sp {

class CertificateList;

// The certificates in `pemText`, parsed the first time this text is seen and kept
// for the rest of the process. Never null; empty when the text holds none.
std::shared_ptr<const CertificateList> cachedCertificates(const std::string& pemText);

// How many certificates the list holds.
std::size_t certificateCount(const CertificateList& certificates);

// Adds the certificates to the trust store of an OpenSSL SSL_CTX, as libcurl's
// CURLOPT_SSL_CTX_FUNCTION hands it over. Returns false when one could not be added.
bool addToTrustStore(void* sslContext, const CertificateList& certificates);

}  // namespace sp
