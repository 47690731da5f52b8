// What the developers window does: fetch and cache the avatars, and open the pages
// behind its pictures and links. No GUI types: the window is reached through
// DevelopersWindowControls, everything else through the Platform.
#pragma once

#include "platform/platform.h"
#include "text/text.h"
#include "ui/developers_window_controls.h"

namespace sp {

// Handler of the developers button: opens the developers window modally and returns
// when it has been closed.
void openDevelopersWindow(Platform& platform);

// Handler of the developers window's created event: makes sure both avatar files are
// cached in the documents folder, then shows them.
void loadAvatars(Platform& platform, DevelopersWindowControls& window);

enum class Developer { First, Second };  // Brontelwick, Tamsel

Text avatarFileName(Developer developer);                  // "tamsel.png", "brontelwick.png"
Text avatarPath(Platform& platform, Developer developer);  // documents folder + file name
Text avatarUrl(Developer developer);

enum class DeveloperPage { FirstHomePage, FirstBilibiliPage, SecondHomePage, SecondBilibiliPage };

// The six controls that open a page when the left mouse button goes down on them.
enum class PageControl {
  FirstAvatar,         // 图片框2
  FirstHomeLink,       // 标签5
  FirstBilibiliLink,   // 标签4
  SecondAvatar,        // 图片框1
  SecondHomeLink,      // 标签2
  SecondBilibiliLink,  // 标签3
};

DeveloperPage pageOpenedBy(PageControl control);
Text developerPageUrl(DeveloperPage page);
void openDeveloperPage(Platform& platform, DeveloperPage page);

// The left-button-press handler of each of the six controls.
void onPageControlPressed(Platform& platform, PageControl control);

}  // namespace sp
