// Byte streams of small pictures for the picture tests, written field by
// field so that each test can damage exactly the field it is about.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pivolane::picture_samples {

using Bytes = std::vector<std::uint8_t>;

inline void Le16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void Le32(Bytes& out, std::uint32_t value) {
  Le16(out, value & 0xFFFF);
  Le16(out, value >> 16);
}
inline void Be16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}
inline void Be32(Bytes& out, std::uint32_t value) {
  Be16(out, value >> 16);
  Be16(out, value & 0xFFFF);
}
inline void Text(Bytes& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

// The 40-byte info header of a BMP file or of an ICO entry.
inline void InfoHeader(Bytes& out, std::int32_t width, std::int32_t height, unsigned bitCount,
                       std::uint32_t compression = 0, std::uint32_t coloursUsed = 0) {
  Le32(out, 40);
  Le32(out, static_cast<std::uint32_t>(width));
  Le32(out, static_cast<std::uint32_t>(height));
  Le16(out, 1);
  Le16(out, bitCount);
  Le32(out, compression);
  for (int i = 0; i < 3; ++i) Le32(out, 0);  // image size, resolution
  Le32(out, coloursUsed);
  Le32(out, 0);
}

inline const Bytes kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The start of a PNG stream: signature and IHDR chunk (CRC not checked here).
inline Bytes PngHead(std::uint32_t width, std::uint32_t height) {
  Bytes out = kPngSignature;
  Be32(out, 13);
  Text(out, "IHDR");
  Be32(out, width);
  Be32(out, height);
  out.insert(out.end(), {8, 6, 0, 0, 0});
  Be32(out, 0);
  return out;
}

struct IcoEntry {
  int width;  // as the directory states it (256 is stored as 0)
  int height;
  unsigned bitCount;
  Bytes data;
};

// An ICO file: directory, then the entries' data in order.
inline Bytes Ico(const std::vector<IcoEntry>& entries) {
  Bytes out;
  Le16(out, 0);
  Le16(out, 1);
  Le16(out, static_cast<unsigned>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const IcoEntry& e : entries) {
    out.push_back(static_cast<std::uint8_t>(e.width & 0xFF));
    out.push_back(static_cast<std::uint8_t>(e.height & 0xFF));
    out.push_back(0);
    out.push_back(0);
    Le16(out, 1);
    Le16(out, e.bitCount);
    Le32(out, static_cast<std::uint32_t>(e.data.size()));
    Le32(out, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const IcoEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
  return out;
}

// A BMP icon entry of a single colour (BGRA as stored), every pixel opaque
// unless its mask bit is set: the mask rows are all maskByte.
inline Bytes SolidBmpEntry(int size, unsigned bitCount, std::uint8_t maskByte = 0x00) {
  Bytes out;
  InfoHeader(out, size, 2 * size, bitCount);
  const int stride = (size * static_cast<int>(bitCount) + 31) / 32 * 4;
  out.insert(out.end(), static_cast<std::size_t>(stride * size), 0x40);
  const int maskStride = (size + 31) / 32 * 4;
  out.insert(out.end(), static_cast<std::size_t>(maskStride * size), maskByte);
  return out;
}

}  // namespace pivolane::picture_samples
