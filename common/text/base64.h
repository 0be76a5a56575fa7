// Standard base64 (the RFC 4648 alphabet, "=" padding, no line breaks),
// encoded and decoded a few groups at a time, so that a show of any size
// passes through it in bounded memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pivolane::text {

// Every 3 bytes, or the 1 or 2 that end the data, become one group of 4
// characters.
inline constexpr std::size_t kBase64GroupBytes = 3;
inline constexpr std::size_t kBase64GroupChars = 4;

// The length of the text that encodes size bytes.
constexpr std::uint64_t Base64Length(std::uint64_t size) {
  return (size + kBase64GroupBytes - 1) / kBase64GroupBytes * kBase64GroupChars;
}

// Encodes bytes given in pieces of any size: the 1 or 2 bytes that do not
// fill a group wait for the next piece, or for Finish.
class Base64Encoder {
 public:
  // Appends to text the groups that bytes, after those given before, fill.
  void Encode(std::span<const std::uint8_t> bytes, std::string& text);
  // Appends the last group, padded, when bytes wait for one.
  void Finish(std::string& text);

 private:
  std::array<std::uint8_t, kBase64GroupBytes> waiting_{};
  std::size_t waitingCount_ = 0;
};

// Whether text ends the data: only the final group may be padded.
enum class Base64End { kMore, kFinal };

// Decodes text, whole groups of 4 characters, into bytes, which has room for
// 3 bytes a group. "=" is taken only as the padding of a final group ("xx=="
// or "xxx="). Returns the number of bytes decoded, or nullopt when text is
// not base64 (a character outside the alphabet, a misplaced "=", a length
// that is not a multiple of 4).
std::optional<std::size_t> DecodeBase64(std::string_view text, std::span<std::uint8_t> bytes,
                                        Base64End end);

}  // namespace pivolane::text
