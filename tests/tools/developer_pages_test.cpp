#include "developer_pages.h"

#include "gtest/gtest.h"

namespace songservice {
namespace {

TEST(DeveloperPage, ServesTheFourPagesAndNothingElse) {
  const struct {
    const char* developer;
    const char* page;
    const char* shownName;  // nullptr: no page
  } cases[] = {
      {"brontelwick", "home", "Brontelwick"},
      {"brontelwick", "bilibili", "Brontelwick"},
      {"tamsel", "home", "Tamsel"},
      {"tamsel", "bilibili", "Tamsel"},
      {"tamsel", "index", nullptr},
      {"someone", "home", nullptr},
      {"Tamsel", "home", nullptr},
  };
  for (const auto& c : cases) {
    const auto page = developerPage(c.developer, c.page);
    ASSERT_EQ(page.has_value(), c.shownName != nullptr) << c.developer << "/" << c.page;
    if (!page) continue;
    EXPECT_TRUE(page->starts_with("<!DOCTYPE html>"));
    EXPECT_NE(page->find(c.shownName), std::string::npos);
  }
  EXPECT_NE(developerPage("tamsel", "home"), developerPage("tamsel", "bilibili"));
}

}  // namespace
}  // namespace songservice
