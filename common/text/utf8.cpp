#include "common/text/utf8.h"

namespace pivolane::text {

std::string_view CutAtCharacter(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  std::size_t cut = maxBytes;
  // The first byte left out must start a character, not continue one.
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
  return utf8.substr(0, cut);
}

}  // namespace pivolane::text
