#include "common/update/lines.h"

namespace pivolane::update {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::size_t Utf8PieceLength(std::string_view text, std::size_t size) {
  if (size >= text.size()) return text.size();
  const auto continues = [&](std::size_t at) {
    return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
  };
  std::size_t length = size;
  while (length > 0 && continues(length)) --length;
  return length > 0 ? length : size;
}

}  // namespace pivolane::update
