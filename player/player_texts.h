// The player's few texts. It has no string table: each text comes in French
// and English, chosen by the language byte of the show's header.
#pragma once

#include <cstdint>

namespace pivolane::player {

inline constexpr const char* kApplicationTitle = "Pivolane";
// Shown before the header is known, so in English only.
inline constexpr const char* kInvalidFileText = "Invalid file !";

struct PlayerTexts {
  const char* wrongPassword;
  const char* passwordLabel;
  const char* cancelButton;
  const char* badPicture;
  // While the key of a strongly enciphered show is derived.
  const char* checkingPassword;
};

// 0 gives the French texts; 1, and any value no editor writes, the English ones.
const PlayerTexts& TextsFor(std::uint8_t language);

}  // namespace pivolane::player
