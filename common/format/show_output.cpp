#include "common/format/show_output.h"

#include <algorithm>

namespace pivolane::format {

namespace {

// Bytes encoded at a time: 256 KiB of text.
constexpr std::size_t kEncodedPiece = 64 * 1024 * text::kBase64GroupBytes;

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void FileEnd::Write(std::span<const std::uint8_t> bytes) {
  file_.WriteAt(at_, bytes);
  at_ += bytes.size();
}

void FileEnd::StartWriteback() {
  file_.StartWriteback(handedOver_, at_ - handedOver_);
  handedOver_ = at_;
}

void Base64Output::Write(std::span<const std::uint8_t> bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const std::size_t n = std::min(bytes.size() - done, kEncodedPiece);
    buffer_.clear();
    encoder_.Encode(bytes.subspan(done, n), buffer_);
    text_.Write(AsBytes(buffer_));
    done += n;
  }
}

void Base64Output::Finish() {
  buffer_.clear();
  encoder_.Finish(buffer_);
  text_.Write(AsBytes(buffer_));
}

}  // namespace pivolane::format
