#include "common/text/base64.h"

namespace pivolane::text {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadding = '=';
constexpr std::uint8_t kNotInAlphabet = 0xFF;

constexpr std::array<std::uint8_t, 256> kValues = [] {
  std::array<std::uint8_t, 256> values{};
  values.fill(kNotInAlphabet);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  return values;
}();

// The group of count (1 to 3) bytes, padded when fewer than 3, at out.
void EncodeGroup(const std::uint8_t* bytes, std::size_t count, char* out) {
  const std::uint32_t bits = (std::uint32_t{bytes[0]} << 16) |
                             (count > 1 ? std::uint32_t{bytes[1]} << 8 : 0) |
                             (count > 2 ? std::uint32_t{bytes[2]} : 0);
  out[0] = kAlphabet[(bits >> 18) & 63];
  out[1] = kAlphabet[(bits >> 12) & 63];
  out[2] = count > 1 ? kAlphabet[(bits >> 6) & 63] : kPadding;
  out[3] = count > 2 ? kAlphabet[bits & 63] : kPadding;
}

// Makes room for groups more groups at the end of text: where they go.
char* GrowBy(std::string& text, std::size_t groups) {
  const std::size_t start = text.size();
  text.resize(start + groups * kBase64GroupChars);
  return text.data() + start;
}

}  // namespace

void Base64Encoder::Encode(std::span<const std::uint8_t> bytes, std::string& text) {
  std::size_t used = 0;
  if (waitingCount_ > 0) {
    while (waitingCount_ < kBase64GroupBytes && used < bytes.size()) {
      waiting_[waitingCount_++] = bytes[used++];
    }
    if (waitingCount_ < kBase64GroupBytes) return;
    EncodeGroup(waiting_.data(), kBase64GroupBytes, GrowBy(text, 1));
    waitingCount_ = 0;
  }
  const std::size_t groups = (bytes.size() - used) / kBase64GroupBytes;
  char* out = GrowBy(text, groups);
  for (std::size_t g = 0; g < groups; ++g, used += kBase64GroupBytes) {
    EncodeGroup(bytes.data() + used, kBase64GroupBytes, out + g * kBase64GroupChars);
  }
  while (used < bytes.size()) waiting_[waitingCount_++] = bytes[used++];
}

void Base64Encoder::Finish(std::string& text) {
  if (waitingCount_ > 0) EncodeGroup(waiting_.data(), waitingCount_, GrowBy(text, 1));
  waitingCount_ = 0;
}

std::optional<std::size_t> DecodeBase64(std::string_view text, std::span<std::uint8_t> bytes,
                                        Base64End end) {
  if (text.size() % kBase64GroupChars != 0) return std::nullopt;
  const auto value = [&text](std::size_t at) {
    return kValues[static_cast<unsigned char>(text[at])];
  };
  // Every group but a final one holds 3 bytes and no padding.
  const std::size_t whole = text.size() - (end == Base64End::kFinal && !text.empty() ? 4 : 0);
  std::size_t written = 0;
  for (std::size_t at = 0; at < whole; at += kBase64GroupChars, written += kBase64GroupBytes) {
    const std::uint8_t a = value(at), b = value(at + 1), c = value(at + 2), d = value(at + 3);
    // Only kNotInAlphabet has its high bit set.
    if (((a | b | c | d) & 0x80) != 0) return std::nullopt;
    const std::uint32_t bits = (std::uint32_t{a} << 18) | (std::uint32_t{b} << 12) |
                               (std::uint32_t{c} << 6) | std::uint32_t{d};
    bytes[written] = static_cast<std::uint8_t>(bits >> 16);
    bytes[written + 1] = static_cast<std::uint8_t>(bits >> 8);
    bytes[written + 2] = static_cast<std::uint8_t>(bits);
  }
  if (whole == text.size()) return written;
  // The final group: "xx==" and "xxx=" only.
  std::size_t padding = 0;
  if (text[whole + 3] == kPadding) padding = text[whole + 2] == kPadding ? 2 : 1;
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < kBase64GroupChars - padding; ++i) {
    const std::uint8_t v = value(whole + i);
    if (v == kNotInAlphabet) return std::nullopt;
    bits |= std::uint32_t{v} << (18 - 6 * i);
  }
  bytes[written++] = static_cast<std::uint8_t>(bits >> 16);
  if (padding < 2) bytes[written++] = static_cast<std::uint8_t>(bits >> 8);
  if (padding < 1) bytes[written++] = static_cast<std::uint8_t>(bits);
  return written;
}

}  // namespace pivolane::text
