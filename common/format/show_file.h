// Reading a show file, document or self-running show, without trusting it:
// every count, size and offset is checked against the file's real size before
// it is used, and pictures are deciphered on the fly, straight from the file,
// so that no deciphered copy of the payload is ever written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/records.h"
#include "common/io/file.h"

namespace pivolane::format {

namespace fs = std::filesystem;

enum class ShowFileKind {
  kDocument,     // payload, then the trailer
  kSelfRunning,  // the player's bytes, the payload, one 0x00, then the trailer
};

// A self-running show starts with the player program, an ELF file.
ShowFileKind DetectKind(const io::File& file);

// The header record of the file's trailer. A file shorter than the trailer is
// not a show file (error 136); the tag is not checked here.
ShowHeader ReadHeaderTrailer(const io::File& file);

class ShowFile {
 public:
  // Opens path and checks its trailer: without the "pvl" tag the file is
  // invalid (136); a payload place that lies outside the file is damaged.
  static ShowFile Open(const fs::path& path, ShowFileKind kind);
  static ShowFile Open(const fs::path& path);  // kind from DetectKind

  const fs::path& path() const { return file_.path(); }
  const ShowHeader& header() const { return header_; }
  ShowFileKind kind() const { return kind_; }
  std::uint64_t payloadOffset() const { return payloadOffset_; }
  std::uint64_t payloadLength() const { return payloadLength_; }

  bool HasPassword() const { return header_.HasPassword(); }
  // Throws error 102 when the show has a password and its cipher version is
  // not one this reader knows (a newer scheme): before asking for a password.
  void CheckCipherVersion() const;
  // For a show with a password: CheckCipherVersion, then true when password
  // (code page 1252) matches the stored check value, after which the payload
  // reads deciphered.
  bool Unlock(std::string_view password);
  bool IsReadable() const { return !HasPassword() || key_.has_value(); }

  // The slide entries, checked: every picture lies inside the payload, after
  // the entry table, and no two pictures overlap. Damaged files throw.
  // Needs a readable payload.
  const std::vector<SlideEntry>& Entries();

  // Copies slide index's (0-based) picture to the end of target.
  void CopyPicture(std::size_t index, io::File& target);
  // The picture in memory (the player decodes one picture at a time).
  std::vector<std::uint8_t> ReadPicture(std::size_t index);

 private:
  ShowFile(io::File file, ShowFileKind kind, const ShowHeader& header);
  void ReadPayload(std::uint64_t offset, std::span<std::uint8_t> data) const;

  io::File file_;
  ShowFileKind kind_;
  ShowHeader header_;
  std::uint64_t payloadOffset_ = 0;
  std::uint64_t payloadLength_ = 0;
  std::optional<cipher::KeyStream> key_;
  std::optional<std::vector<SlideEntry>> entries_;
};

}  // namespace pivolane::format
