#include "common/text/utf8.h"

namespace pivolane::text {

std::string_view CutAtCharacter(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  std::size_t cut = maxBytes;
  // The first byte left out must start a character, not continue one.
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
  return utf8.substr(0, cut);
}

std::size_t ControlCharacterLength(std::string_view utf8, std::size_t at) {
  if (at >= utf8.size()) return 0;
  const auto byte = static_cast<unsigned char>(utf8[at]);
  if (byte < 0x20 || byte == 0x7F) return 1;
  const auto next = at + 1 < utf8.size() ? static_cast<unsigned char>(utf8[at + 1]) : 0u;
  return byte == 0xC2 && next >= 0x80 && next <= 0x9F ? 2 : 0;
}

}  // namespace pivolane::text
