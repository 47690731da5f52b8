#include "ui/developers_commands.h"

#include <array>

#include "platform/settings.h"
#include "ui/image_format.h"

namespace sp {

namespace {

bool isFirst(Developer developer) {
  return developer == Developer::First;
}

// A cached file that is empty (a fetch that once failed) is as good as none.
bool avatarCached(Platform& platform, const Text& path) {
  return platform.fileExists(path) && !platform.readFile(path).empty();
}

// Only a picture is worth caching: an error page or an empty body would be kept for
// good, since the cache is never refreshed.
void cacheAvatar(Platform& platform, Developer developer, const Text& path) {
  const ByteBuffer body = platform.httpGet(avatarUrl(developer));
  if (sniffImageFormat(body) == ImageFormat::Unknown) return;
  platform.writeFile(path, body);
}

PictureBox pictureBoxOf(Developer developer) {
  return isFirst(developer) ? PictureBox::FirstAvatar : PictureBox::SecondAvatar;
}

// The second developer comes first, in fetching and in showing.
constexpr std::array kAvatarOrder{Developer::Second, Developer::First};

}  // namespace

void openDevelopersWindow(Platform& platform) {
  platform.loadWindow(WindowId::Developers, true);
}

Text avatarFileName(Developer developer) {
  return isFirst(developer) ? Text("brontelwick.png") : Text("tamsel.png");
}

Text avatarPath(Platform& platform, Developer developer) {
  return joinTexts(platform.documentsFolder(), avatarFileName(developer));
}

Text avatarUrl(Developer developer) {
  const Settings& current = settings();
  const std::string& account =
      isFirst(developer) ? current.firstDeveloperAccount : current.secondDeveloperAccount;
  return joinTexts("https://", current.avatarServiceHost, "/api/dm-qt?qq=", account);
}

void loadAvatars(Platform& platform, DevelopersWindowControls& window) {
  for (const Developer developer : kAvatarOrder) {
    const Text path = avatarPath(platform, developer);
    if (!avatarCached(platform, path)) cacheAvatar(platform, developer, path);
  }
  for (const Developer developer : kAvatarOrder) {
    window.setPicture(pictureBoxOf(developer), platform.readFile(avatarPath(platform, developer)));
  }
}

DeveloperPage pageOpenedBy(PageControl control) {
  switch (control) {
    case PageControl::FirstAvatar:
    case PageControl::FirstHomeLink:
      return DeveloperPage::FirstHomePage;
    case PageControl::FirstBilibiliLink:
      return DeveloperPage::FirstBilibiliPage;
    case PageControl::SecondAvatar:
    case PageControl::SecondHomeLink:
      return DeveloperPage::SecondHomePage;
    case PageControl::SecondBilibiliLink:
      return DeveloperPage::SecondBilibiliPage;
  }
  return DeveloperPage::FirstHomePage;
}

Text developerPageUrl(DeveloperPage page) {
  const Settings& current = settings();
  switch (page) {
    case DeveloperPage::FirstHomePage:
      return current.firstDeveloperHomePage;
    case DeveloperPage::FirstBilibiliPage:
      return current.firstDeveloperBilibiliPage;
    case DeveloperPage::SecondHomePage:
      return current.secondDeveloperHomePage;
    case DeveloperPage::SecondBilibiliPage:
      return current.secondDeveloperBilibiliPage;
  }
  return {};
}

void openDeveloperPage(Platform& platform, DeveloperPage page) {
  platform.openUrl(developerPageUrl(page));
}

void onPageControlPressed(Platform& platform, PageControl control) {
  openDeveloperPage(platform, pageOpenedBy(control));
}

}  // namespace sp
