// Where a payload goes while it is written, protected on the way as its show
// requires.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pivolane::format {

// Takes the entry table, then every picture in show order, each in chunks
// of ChunkSize() bytes (the last one shorter; an empty picture is one empty
// chunk). The bytes handed over may be changed in place.
class PayloadSink {
 public:
  virtual ~PayloadSink() = default;
  virtual std::size_t ChunkSize() const = 0;
  virtual void WriteTable(std::span<std::uint8_t> table) = 0;
  // slideNumber is 1-based; chunk counts from 0 within the picture.
  virtual void WriteChunk(std::uint32_t slideNumber, std::uint32_t chunk, bool last,
                          std::span<std::uint8_t> bytes) = 0;
};

}  // namespace pivolane::format
