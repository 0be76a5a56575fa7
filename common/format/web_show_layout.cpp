#include "common/format/web_show_layout.h"

#include <algorithm>
#include <vector>

#include "common/errors.h"

namespace pivolane::format {

namespace {

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Bytes of the start searched at a time for the data marker.
constexpr std::uint64_t kSearchPiece = 1 << 20;

bool BytesAtEqual(const io::File& file, std::uint64_t offset, std::string_view expected) {
  std::vector<std::uint8_t> bytes(expected.size());
  file.ReadAt(offset, bytes);
  return AsText(bytes) == expected;
}

// The offset of the first data marker that lies wholly within the first
// limit bytes of file.
std::optional<std::uint64_t> FindMarker(const io::File& file, std::uint64_t limit) {
  const std::size_t overlap = kWebShowDataMarker.size() - 1;
  std::vector<std::uint8_t> piece;
  for (std::uint64_t at = 0; at + kWebShowDataMarker.size() <= limit; at += kSearchPiece) {
    piece.resize(static_cast<std::size_t>(std::min(limit - at, kSearchPiece + overlap)));
    file.ReadAt(at, piece);
    const std::size_t found = AsText(piece).find(kWebShowDataMarker);
    if (found != std::string_view::npos) return at + found;
  }
  return std::nullopt;
}

[[noreturn]] void ThrowDamagedTemplate(const char* why) {
  throw Failure(error_number::kInvalidArgument,
                std::string("The web page template is damaged: ") + why);
}

}  // namespace

PageTemplate SplitPageTemplate(std::span<const std::uint8_t> page) {
  const std::string_view text = AsText(page);
  const std::size_t placeholder = text.find(kWebShowPlaceholder);
  if (placeholder == std::string_view::npos ||
      text.find(kWebShowPlaceholder, placeholder + 1) != std::string_view::npos) {
    ThrowDamagedTemplate("it needs its placeholder once");
  }
  const std::string_view head = text.substr(0, placeholder);
  const std::string_view tail = text.substr(placeholder + kWebShowPlaceholder.size());
  if (!head.starts_with(kWebShowStart)) ThrowDamagedTemplate("it is no HTML5 page");
  if (!head.ends_with(kWebShowDataMarker) ||
      head.find(kWebShowDataMarker) != head.size() - kWebShowDataMarker.size()) {
    ThrowDamagedTemplate("the data element must come once, right before the placeholder");
  }
  if (head.size() > kWebShowMarkerLimit) ThrowDamagedTemplate("the data element comes too late");
  if (tail != kWebShowEnd) ThrowDamagedTemplate("the page must end with the data element");
  return {page.first(head.size()), page.last(tail.size())};
}

std::optional<EmbeddedText> FindEmbeddedText(const io::File& file) {
  const std::uint64_t size = file.Size();
  if (size < kWebShowStart.size() + kWebShowDataMarker.size() + kWebShowEnd.size() ||
      !BytesAtEqual(file, 0, kWebShowStart) ||
      !BytesAtEqual(file, size - kWebShowEnd.size(), kWebShowEnd)) {
    return std::nullopt;
  }
  const std::uint64_t textEnd = size - kWebShowEnd.size();
  const std::optional<std::uint64_t> marker =
      FindMarker(file, std::min(textEnd, kWebShowMarkerLimit));
  if (!marker) return std::nullopt;
  const std::uint64_t textStart = *marker + kWebShowDataMarker.size();
  return EmbeddedText{textStart, textEnd - textStart};
}

}  // namespace pivolane::format
