// Where the bytes of a show file go while it is written, in order: the end of
// a file, or an encoder in front of one.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/io/file.h"
#include "common/text/base64.h"

namespace pivolane::format {

class ShowOutput {
 public:
  virtual ~ShowOutput() = default;
  // Writes bytes after those written before. Any thread may call it, one
  // call at a time.
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  // Starts putting what was written so far on the disk, without waiting, so
  // that the sync that ends the file has less left to wait for.
  virtual void StartWriteback() {}
};

// Appends to a file, from the end it had when this was made.
class FileEnd : public ShowOutput {
 public:
  explicit FileEnd(io::File& file) : file_(file), at_(file.Size()), handedOver_(at_) {}
  void Write(std::span<const std::uint8_t> bytes) override;
  void StartWriteback() override;

 private:
  io::File& file_;
  std::uint64_t at_;          // where the next write goes
  std::uint64_t handedOver_;  // what StartWriteback handed to the disk
};

// Writes the base64 text of the bytes it is given to another output. The
// text of a write goes out in pieces of bounded size; Finish writes the
// padded last group.
class Base64Output : public ShowOutput {
 public:
  explicit Base64Output(ShowOutput& text) : text_(text) {}
  void Write(std::span<const std::uint8_t> bytes) override;
  void StartWriteback() override { text_.StartWriteback(); }
  void Finish();

 private:
  ShowOutput& text_;
  text::Base64Encoder encoder_;
  std::string buffer_;
};

}  // namespace pivolane::format
