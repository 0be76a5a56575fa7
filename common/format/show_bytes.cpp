#include "common/format/show_bytes.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/text/base64.h"

namespace pivolane::format {

namespace {

// Groups decoded at a time: 64 KiB of text.
constexpr std::uint64_t kGroupsPerStep = 16 * 1024;

[[noreturn]] void ThrowNotBase64() {
  ThrowDamagedFile("the web page's data is not base64");
}

}  // namespace

ShowBytes::ShowBytes(io::File file, const EmbeddedText& text)
    : file_(std::move(file)), text_(text) {
  if (text.length % text::kBase64GroupChars != 0) ThrowNotBase64();
  if (text.length == 0) return;
  // The last group tells how many bytes it holds.
  std::string last(text::kBase64GroupChars, '\0');
  file_.ReadAt(text.offset + text.length - last.size(),
               {reinterpret_cast<std::uint8_t*>(last.data()), last.size()});
  std::array<std::uint8_t, text::kBase64GroupBytes> bytes{};
  const std::optional<std::size_t> lastBytes =
      text::DecodeBase64(last, bytes, text::Base64End::kFinal);
  if (!lastBytes) ThrowNotBase64();
  embeddedSize_ =
      (text.length / text::kBase64GroupChars - 1) * text::kBase64GroupBytes + *lastBytes;
}

std::uint64_t ShowBytes::Size() const {
  return text_ ? embeddedSize_ : file_.Size();
}

void ShowBytes::ReadAt(std::uint64_t offset, std::span<std::uint8_t> data) const {
  if (text_) {
    ReadEmbeddedAt(offset, data);
  } else {
    file_.ReadAt(offset, data);
  }
}

void ShowBytes::ReadEmbeddedAt(std::uint64_t offset, std::span<std::uint8_t> data) const {
  if (offset > embeddedSize_ || data.size() > embeddedSize_ - offset) {
    ThrowDamagedFile("a read past the end of the web page's data");
  }
  const std::uint64_t groupCount = text_->length / text::kBase64GroupChars;
  std::string text;
  std::vector<std::uint8_t> decoded;
  for (std::size_t done = 0; done < data.size();) {
    // The groups that hold the next bytes wanted, at most a step of them.
    const std::uint64_t at = offset + done;
    const std::uint64_t first = at / text::kBase64GroupBytes;
    const std::uint64_t last = (offset + data.size() - 1) / text::kBase64GroupBytes;
    const auto count = static_cast<std::size_t>(std::min(last - first + 1, kGroupsPerStep));
    text.resize(count * text::kBase64GroupChars);
    file_.ReadAt(text_->offset + first * text::kBase64GroupChars,
                 {reinterpret_cast<std::uint8_t*>(text.data()), text.size()});
    decoded.resize(count * text::kBase64GroupBytes);
    const std::optional<std::size_t> decodedCount = text::DecodeBase64(
        text, decoded,
        first + count == groupCount ? text::Base64End::kFinal : text::Base64End::kMore);
    if (!decodedCount) ThrowNotBase64();
    const auto skip = static_cast<std::size_t>(at - first * text::kBase64GroupBytes);
    const std::size_t n = std::min(data.size() - done, *decodedCount - skip);
    std::copy_n(decoded.begin() + static_cast<std::ptrdiff_t>(skip), n, data.begin() + done);
    done += n;
  }
}

}  // namespace pivolane::format
