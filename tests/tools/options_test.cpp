#include "options.h"

#include "gtest/gtest.h"

namespace songservice {
namespace {

using Arguments = std::vector<std::string>;

TEST(ParseOptions, AcceptsTheDocumentedCommandLines) {
  std::string error;
  const auto all = parseOptions(
      {"--port", "0", "--cert", "c.pem", "--key", "k.pem", "--log", "requests.log", "--faults"},
      47443, error);
  ASSERT_TRUE(all) << error;
  EXPECT_EQ(all->port, 0);
  EXPECT_EQ(all->certificateFile, "c.pem");
  EXPECT_EQ(all->keyFile, "k.pem");
  EXPECT_EQ(all->logFile, "requests.log");
  EXPECT_TRUE(all->faults);

  const auto least = parseOptions({"--key", "k.pem", "--cert", "c.pem"}, 47443, error);
  ASSERT_TRUE(least) << error;
  EXPECT_EQ(least->port, 47443);
  EXPECT_EQ(least->logFile, "-");
  EXPECT_FALSE(least->faults);
}

TEST(ParseOptions, RefusesMistakesWithAReason) {
  const Arguments cases[] = {
      {"--cert", "c.pem"},
      {"--key", "k.pem"},
      {"--cert", "c.pem", "--key"},
      {"--cert", "c.pem", "--key", "k.pem", "--port", "65536"},
      {"--cert", "c.pem", "--key", "k.pem", "--port", "-1"},
      {"--cert", "c.pem", "--key", "k.pem", "--port", "80x"},
      {"--cert", "c.pem", "--key", "k.pem", "--port", ""},
      {"--cert", "c.pem", "--key", "k.pem", "--verbose"},
      {"--cert", "c.pem", "--key", "k.pem", "extra"},
  };
  for (const Arguments& arguments : cases) {
    std::string error;
    EXPECT_FALSE(parseOptions(arguments, 47443, error)) << ::testing::PrintToString(arguments);
    EXPECT_FALSE(error.empty()) << ::testing::PrintToString(arguments);
  }
}

}  // namespace
}  // namespace songservice
