#include "platform/settings.h"

#include "build_settings.h"

namespace sp {

Settings& settings() {
  static Settings current{
      build::songServiceHost,
      build::avatarServiceHost,
      build::firstDeveloperAccount,
      build::secondDeveloperAccount,
      build::firstDeveloperHomePage,
      build::firstDeveloperBilibiliPage,
      build::secondDeveloperHomePage,
      build::secondDeveloperBilibiliPage,
      build::extraCaFile,
  };
  return current;
}

}  // namespace sp
