#include "platform/certificate_cache.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/local_https_server.h"

namespace sp {
namespace {

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CertificateCache, CountsTheCertificatesInTheText) {
  const std::string ca = readWhole(testing::caFile());
  const std::string other = readWhole(testing::certificateFile("untrusted.pem"));
  ASSERT_FALSE(ca.empty());
  ASSERT_FALSE(other.empty());
  const struct {
    const char* name;
    std::string text;
    std::size_t count;
  } cases[] = {
      {"one", ca, 1},
      {"two joined", ca + "\n" + other, 2},
      {"a line before", "\n" + ca, 1},
      {"a private key is no certificate",
       readWhole(testing::certificateFile("localhost-key.pem")) + ca, 1},
      {"no PEM at all", "not a certificate", 0},
      {"empty", "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(certificateCount(*cachedCertificates(c.text)), c.count) << c.name;
  }
}

TEST(CertificateCache, ParsesEachTextOnceAndAChangedTextAgain) {
  const std::string ca = readWhole(testing::caFile());
  const auto first = cachedCertificates(ca);
  EXPECT_EQ(cachedCertificates(ca), first);
  const auto changed =
      cachedCertificates(ca + "\n" + readWhole(testing::certificateFile("untrusted.pem")));
  EXPECT_NE(changed, first);
  EXPECT_EQ(certificateCount(*changed), 2u);
}

}  // namespace
}  // namespace sp
