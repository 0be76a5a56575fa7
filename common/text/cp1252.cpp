#include "common/text/cp1252.h"

#include <array>
#include <cstdint>

namespace pivolane::text {

namespace {

// Characters of bytes 0x80..0x9F. The five bytes without a character map to
// the C1 control of the same value, so that every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharacterOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<unsigned char> ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// Decodes one UTF-8 character at pos; nullopt on a malformed sequence.
std::optional<char32_t> NextCharacter(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  int extra = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    c = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    c = lead & 0x07;
  } else {
    ++pos;
    return std::nullopt;
  }
  ++pos;
  for (int i = 0; i < extra; ++i) {
    if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (static_cast<unsigned char>(s[pos]) & 0x3F);
    ++pos;
  }
  static constexpr std::array<char32_t, 4> kSmallest = {0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Shared by the strict and the lossy conversion: a character without a code
// becomes the replacement, or ends the conversion when there is none.
std::optional<std::string> Convert(std::string_view utf8, std::optional<char> replacement) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::optional<char32_t> c = NextCharacter(utf8, pos);
    const std::optional<unsigned char> byte = c ? ByteOf(*c) : std::nullopt;
    if (byte) {
      out += static_cast<char>(*byte);
    } else if (replacement) {
      out += *replacement;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> ToCp1252(std::string_view utf8) {
  return Convert(utf8, std::nullopt);
}

std::string ToCp1252Lossy(std::string_view utf8) {
  return *Convert(utf8, '?');
}

std::string FromCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) AppendUtf8(out, CharacterOf(static_cast<unsigned char>(b)));
  return out;
}

std::string_view TrimTrailingBlanks(std::string_view field) {
  const std::size_t end = field.find_last_not_of(std::string_view(" \0", 2));
  return end == std::string_view::npos ? std::string_view() : field.substr(0, end + 1);
}

}  // namespace pivolane::text
