// Reading a show file, document, self-running show or web show, without
// trusting it: every count, size and offset is checked against the file's
// real size before it is used, and pictures are deciphered on the fly,
// straight from the file, so that no deciphered copy of the payload is ever
// written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/records.h"
#include "common/format/show_bytes.h"
#include "common/io/file.h"

namespace pivolane::format {

namespace fs = std::filesystem;

class PayloadSeal;

enum class ShowFileKind {
  kDocument,     // payload, then the trailer
  kSelfRunning,  // the player's bytes, the payload, one 0x00, then the trailer
  kWebShow,      // a page carrying a document's bytes as base64 (web_show_layout.h)
};

// The header record of the file's trailer. A file shorter than the trailer is
// not a show file (error 136); the tag is not checked here.
ShowHeader ReadHeaderTrailer(const io::File& file);

class ShowFile {
 public:
  // Opens path and checks its trailer: without the "pvl" tag the file is
  // invalid (136); a payload place that lies outside the file is damaged. A
  // web show's document is read through its base64 text, whose damage is
  // found where it is read (62); a file that is no web show is invalid.
  static ShowFile Open(const fs::path& path, ShowFileKind kind);
  // The same, for a file of any kind: a web show is told by its page, the
  // other kinds by the layout that checks out.
  static ShowFile Open(const fs::path& path);

  const fs::path& path() const { return bytes_.file().path(); }
  const ShowHeader& header() const { return header_; }
  ShowFileKind kind() const { return kind_; }
  std::uint64_t payloadOffset() const { return payloadOffset_; }
  std::uint64_t payloadLength() const { return payloadLength_; }

  // True when path names the very file the show is read from (links
  // followed), under any of its names.
  bool IsReadFrom(const fs::path& path) const { return bytes_.file().IsSameFileAs(path); }

  bool HasPassword() const { return header_.HasPassword(); }
  // For a show with a password, what can be told before any password: error
  // 102 for a cipher version other than 1 and 2 (a newer scheme), error 62
  // for a sealed show whose key derivation asks for more than any show may.
  void CheckProtection() const;
  // For a show with a password: CheckProtection, then true when password
  // (code page 1252) opens the show, after which the payload reads
  // deciphered. Version 1 compares the stored check value; version 2
  // derives the key (about a second with the default limits) and opens the
  // entry table with it: a table that does not open is a wrong password.
  bool Unlock(std::string_view password);
  bool IsReadable() const { return !HasPassword() || key_.has_value() || seal_ != nullptr; }

  // The slide entries, checked: every picture lies inside the payload, after
  // the entry table, and no two pictures overlap. Damaged files throw.
  // Needs a readable payload. PictureSize is the picture's own size;
  // PictureOffset is where it is stored, which takes more room when sealed.
  const std::vector<SlideEntry>& Entries();

  // Copies slide index's (0-based) picture to the end of target. A sealed
  // picture that does not pass its check throws error 62 part way: the
  // caller discards what was written.
  void CopyPicture(std::size_t index, io::File& target);
  // The picture in memory (the player decodes one picture at a time); a
  // sealed picture that does not pass its check throws error 62.
  std::vector<std::uint8_t> ReadPicture(std::size_t index);
  // Slide index's picture handed to take in order, piece by piece; a sealed
  // piece only once it passed its check (error 62 part way otherwise).
  void ForEachPicturePiece(std::size_t index,
                           const std::function<void(std::span<const std::uint8_t>)>& take);

  ShowFile(ShowFile&&) noexcept;
  ShowFile& operator=(ShowFile&&) noexcept;
  ~ShowFile();

 private:
  ShowFile(ShowBytes bytes, ShowFileKind kind, const ShowHeader& header);
  // The show in bytes, read as kind, once its trailer checks out.
  static ShowFile Read(ShowBytes bytes, ShowFileKind kind);
  // Reads the file as kind: where its payload lies. A payload place that lies
  // outside the file is damaged.
  void UseLayout(ShowFileKind kind);
  // Uses the layout of kind when it checks out: the payload place, the 0x00
  // after a program's payload and, unless the show is still locked, slide
  // entries whose pictures fill the payload exactly.
  bool UseLayoutIfItChecksOut(ShowFileKind kind);
  // The file begins as an ELF program does.
  bool StartsLikeAProgram() const;
  void ReadPayload(std::uint64_t offset, std::span<std::uint8_t> data) const;
  // The room the entry table takes, checked against the payload.
  std::uint64_t CheckedTableSize() const;
  bool UnlockSealed(std::string_view password);
  // The stored entry table opened with seal into table; false when it does
  // not open.
  bool OpenEntryTable(const PayloadSeal& seal, std::uint64_t tableSize,
                      std::vector<std::uint8_t>& table) const;
  // The entry table's bytes, deciphered or opened.
  std::vector<std::uint8_t> ReadEntryTable(std::uint64_t tableSize) const;

  ShowBytes bytes_;
  ShowFileKind kind_;
  ShowHeader header_;
  std::uint64_t payloadOffset_ = 0;
  std::uint64_t payloadLength_ = 0;
  std::optional<cipher::KeyStream> key_;
  std::unique_ptr<const PayloadSeal> seal_;
  std::optional<std::vector<SlideEntry>> entries_;
};

}  // namespace pivolane::format
