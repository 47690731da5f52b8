// Avatars for the avatar request: a PNG image drawn from the account number.
#pragma once

#include <string>
#include <string_view>

namespace songservice {

inline constexpr int kAvatarSize = 100;

// A symmetric 5 x 5 pattern in a colour, both taken from a hash of the account,
// so every account looks different and the same account always looks the same.
// Empty when libpng fails.
std::string avatarPng(std::string_view account);

}  // namespace songservice
