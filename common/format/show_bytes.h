// The bytes that a show's reader reads: a show file itself, or the document
// that a web show carries, decoded from its base64 text only where it is
// read, a few groups at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/format/web_show_layout.h"
#include "common/io/file.h"

namespace pivolane::format {

class ShowBytes {
 public:
  explicit ShowBytes(io::File file) : file_(std::move(file)) {}
  // The document that text, the base64 text of the web show in file,
  // encodes. A text whose length is not a multiple of 4, or whose last group
  // is not base64, is damaged (error 62).
  ShowBytes(io::File file, const EmbeddedText& text);

  const io::File& file() const { return file_; }
  std::uint64_t Size() const;
  // Reads exactly data.size() bytes at offset. A read past the end, or base64
  // text with a character outside its alphabet, is damaged (error 62).
  void ReadAt(std::uint64_t offset, std::span<std::uint8_t> data) const;

 private:
  void ReadEmbeddedAt(std::uint64_t offset, std::span<std::uint8_t> data) const;

  io::File file_;
  std::optional<EmbeddedText> text_;
  std::uint64_t embeddedSize_ = 0;
};

}  // namespace pivolane::format
