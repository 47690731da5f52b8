#include "developer_pages.h"

namespace songservice {
namespace {

std::string html(std::string_view title, std::string_view body) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"zh\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  out += title;
  out += "</title>\n</head>\n<body>\n<h1>";
  out += title;
  out += "</h1>\n<p>";
  out += body;
  out += "</p>\n</body>\n</html>\n";
  return out;
}

}  // namespace

std::optional<std::string> developerPage(std::string_view developer, std::string_view page) {
  std::string_view name;
  if (developer == "brontelwick") {
    name = "Brontelwick";
  } else if (developer == "tamsel") {
    name = "Tamsel";
  } else {
    return std::nullopt;
  }
  const std::string who(name);
  if (page == "home") {
    return html(who + " 的官网",
                "你好，我是 " + who + "，点歌器的开发者之一。这里是本地歌曲服务提供的主页。");
  }
  if (page == "bilibili") {
    return html(
        who + " 的 Bilibili 空间",
        "这里本应是 " + who + " 在 Bilibili 的个人空间；离线运行时由本地歌曲服务代为展示。");
  }
  return std::nullopt;
}

}  // namespace songservice
