// The two fixed records of a show file, serialised field by field in
// little-endian order: ShowHeader (155 bytes) and SlideEntry (136 bytes).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pivolane::format {

inline constexpr std::size_t kHeaderSize = 155;
inline constexpr std::size_t kTrailerSize = kHeaderSize + 1;  // record + one 0x00
inline constexpr std::size_t kEntrySize = 136;
inline constexpr std::size_t kTitleLength = 128;
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

struct ShowHeader {
  std::array<char, 6> VersionTag{};
  std::int32_t DelaySeconds = 0;
  std::int16_t SlideCount = 0;
  std::uint8_t keyStart = 0;
  std::int16_t LoopFlag = 0;
  std::int16_t RandomFlag = 0;
  std::int16_t TitlesFlag = 0;
  std::uint8_t reserved = 0;
  std::array<std::uint8_t, 128> PasswordCheck{};
  std::int32_t PlayerSize = 0;
  std::uint8_t Language = 0;
  std::int16_t CipherVersion = 0;

  using Bytes = std::array<std::uint8_t, kHeaderSize>;
  Bytes Serialize() const;
  static ShowHeader Parse(std::span<const std::uint8_t, kHeaderSize> bytes);

  // "pvl" in the first three characters of VersionTag.
  bool HasShowTag() const;
  // A show has a password exactly when PasswordCheck is not all NUL.
  bool HasPassword() const;
};

struct SlideEntry {
  std::array<char, kTitleLength> Title{};
  std::int32_t PictureSize = 0;
  std::int32_t PictureOffset = 0;

  using Bytes = std::array<std::uint8_t, kEntrySize>;
  Bytes Serialize() const;
  static SlideEntry Parse(std::span<const std::uint8_t, kEntrySize> bytes);

  // The title as code page 1252 text, trailing spaces removed.
  std::string_view TrimmedTitle() const;
};

// "pvl" followed by the version digits, cut or padded with spaces to 6.
std::array<char, 6> VersionTagFor(std::string_view digits);
// A code page 1252 title cut to 128 characters and padded with spaces.
std::array<char, kTitleLength> TitleField(std::string_view cp1252);

}  // namespace pivolane::format
