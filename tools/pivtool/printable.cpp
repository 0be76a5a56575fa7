#include "tools/pivtool/printable.h"

#include <cstdio>

#include "common/text/utf8.h"

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
    if (const std::size_t control = text::ControlCharacterLength(utf8, i); control == 1) {
      out += Escape("\\x%02X", byte);
    } else if (control == 2) {  // U+0080..U+009F
      out += Escape("\\u%04X", static_cast<unsigned char>(utf8[++i]));
    } else if (byte == '\\') {
      out += "\\\\";
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace pivolane::pivtool
