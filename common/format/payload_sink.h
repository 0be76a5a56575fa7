// Where a payload goes while it is written, protected on the way as its show
// requires.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pivolane::format {

// Takes the entry table, then every picture in show order, each in pieces
// of at most kPayloadPieceSize bytes that start at multiples of it (an empty
// picture is one empty piece). The bytes handed over may be changed in place,
// and must stay untouched by the caller until its next call: a sink may still
// be reading them.
class PayloadSink {
 public:
  virtual ~PayloadSink() = default;
  virtual void WriteTable(std::span<std::uint8_t> table) = 0;
  // slideNumber is 1-based; offset is the piece's place in the picture; last
  // tells the picture's final piece.
  virtual void WritePicturePiece(std::uint32_t slideNumber, std::uint64_t offset,
                                 std::span<std::uint8_t> bytes, bool last) = 0;
  // After the last piece: returns once every byte is in the file, and
  // reports a write that failed.
  virtual void Finish() {}
};

// Small enough that memory does not grow with the pictures.
inline constexpr std::size_t kPayloadPieceSize = 1 << 20;

}  // namespace pivolane::format
