// Integers at offsets of an untrusted picture buffer. Callers check Has()
// before reading; the readers themselves assume the bytes are there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pivolane::picture {

class ByteView {
 public:
  explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // Whether length bytes from offset at lie inside the buffer.
  bool Has(std::uint64_t at, std::uint64_t length) const {
    return at <= bytes_.size() && length <= bytes_.size() - at;
  }
  std::uint8_t U8(std::size_t at) const { return bytes_[at]; }
  std::uint16_t Le16(std::size_t at) const {
    return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
  }
  std::uint32_t Le32(std::size_t at) const {
    return std::uint32_t{Le16(at)} | std::uint32_t{Le16(at + 2)} << 16;
  }
  std::uint16_t Be16(std::size_t at) const {
    return static_cast<std::uint16_t>(bytes_[at] << 8 | bytes_[at + 1]);
  }
  std::uint32_t Be32(std::size_t at) const {
    return std::uint32_t{Be16(at)} << 16 | std::uint32_t{Be16(at + 2)};
  }
  std::span<const std::uint8_t> Sub(std::size_t at, std::size_t length) const {
    return bytes_.subspan(at, length);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace pivolane::picture
