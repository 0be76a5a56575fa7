#include "tools/pivtool/printable.h"

#include <cstdio>

namespace pivolane::pivtool {

namespace {

std::string Escape(const char* format, unsigned code) {
  char escape[8];
  std::snprintf(escape, sizeof escape, format, code);
  return escape;
}

}  // namespace

std::string Printable(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
    if (byte < 0x20 || byte == 0x7F) {
      out += Escape("\\x%02X", byte);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
      out += Escape("\\u%04X", next);
      ++i;
    } else if (byte == '\\') {
      out += "\\\\";
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace pivolane::pivtool
