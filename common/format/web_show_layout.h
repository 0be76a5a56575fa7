// Web shows: one HTML page, the web player's template with the bytes of a
// document of the show (payload, then trailer) embedded once as base64, in a
// data element at the very end of the page:
//
//   <!DOCTYPE html> ... <script id="pivolane-show" type="application/octet-stream">
//   BASE64</script>\n</body>\n</html>\n
//
// The layout is written down in docs/show-format.md.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "common/io/file.h"

namespace pivolane::format {

inline constexpr std::string_view kWebShowStart = "<!DOCTYPE html>";
inline constexpr std::string_view kWebShowDataMarker =
    "<script id=\"pivolane-show\" type=\"application/octet-stream\">";
inline constexpr std::string_view kWebShowPlaceholder = "@PIVOLANE_SHOW_DATA@";
inline constexpr std::string_view kWebShowEnd = "</script>\n</body>\n</html>\n";
// The data marker lies within the page's first bytes, so that a reader need
// not search a whole show for it.
inline constexpr std::uint64_t kWebShowMarkerLimit = 8 << 20;

// The page template around its placeholder: head ends with the data marker,
// tail is kWebShowEnd.
struct PageTemplate {
  std::span<const std::uint8_t> head;
  std::span<const std::uint8_t> tail;
};

// Splits a template at its one placeholder, after checking that a page built
// from it reads back as a web show: it begins with kWebShowStart, holds the
// data marker once, within kWebShowMarkerLimit, right before the placeholder,
// and ends with the placeholder and kWebShowEnd. Throws a Failure (error 5)
// otherwise.
PageTemplate SplitPageTemplate(std::span<const std::uint8_t> page);

// Where a web show's base64 text lies in its file.
struct EmbeddedText {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

// The base64 text of file when it is a web show: it begins with
// kWebShowStart, ends with kWebShowEnd and holds the data marker within
// kWebShowMarkerLimit; the text lies between the first marker and that end.
// nullopt for any other file.
std::optional<EmbeddedText> FindEmbeddedText(const io::File& file);

}  // namespace pivolane::format
