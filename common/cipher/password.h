// Passwords as the user types them (UTF-8) and as the cipher uses them (code
// page 1252 bytes, 1..128 of them).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pivolane::cipher {

inline constexpr std::size_t kMaxPasswordLength = 128;

// A password being set: refused with a Failure (error 5) when it is empty,
// holds a character that code page 1252 has no code for, or is longer than
// 128 code page characters.
std::string EncodeNewPassword(std::string_view utf8);

// A password typed to open a show: nullopt when it cannot be the password of
// any show (empty, too long, or a character without a code page 1252 code);
// such a password is simply wrong.
std::optional<std::string> EncodeTypedPassword(std::string_view utf8);

}  // namespace pivolane::cipher
