// Cipher version 2: the payload sealed with a key derived from the password.
// The header's 128-byte PasswordCheck field holds the parameters below; the
// whole 155-byte header record is the associated data of every message, so
// that no header byte can change unnoticed. Each message's nonce is the
// file id, the slide number (0 for the entry table) and the chunk number
// with a last-chunk flag, so that a chunk read at another place, a picture
// moved to another slide or a picture cut short does not open. The layout
// is written down in docs/show-format.md.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/cipher/strong_cipher.h"
#include "common/format/payload_sink.h"
#include "common/format/records.h"
#include "common/format/show_output.h"
#include "common/io/file.h"
#include "common/parallel/worker_pool.h"

namespace pivolane::format {

inline constexpr std::size_t kFileIdLength = 16;
using FileId = std::array<std::uint8_t, kFileIdLength>;

// The PasswordCheck field of a sealed show, little-endian:
//   0  16  salt of the key derivation
//  16   4  Argon2id passes (uint32)
//  20   8  Argon2id memory in bytes (uint64)
//  28  16  file id: random, new at every write
//  44  84  zero
struct SealedParameters {
  cipher::Salt salt{};
  cipher::KdfLimits limits;
  FileId fileId{};

  using Field = std::array<std::uint8_t, 128>;
  static SealedParameters Parse(const Field& field);
  Field Serialize() const;
  // A new salt and file id, from the system's random source.
  static SealedParameters New(const cipher::KdfLimits& limits);
};

// The parameters of a sealed show's header, checked before anything is
// allocated for the key derivation: limits that this product does not write
// (cipher::AreAcceptedLimits) make the file damaged (error 62).
SealedParameters CheckedSealedParameters(const ShowHeader& header);

// Which message of the payload: the entry table, or one chunk of a picture.
struct MessageId {
  std::uint32_t slideNumber = 0;  // 1-based; 0 is the entry table
  std::uint32_t chunk = 0;
  bool last = true;
};
inline constexpr MessageId kEntryTableMessage{0, 0, true};

// The key of one sealed show file, with its nonces and associated data.
class PayloadSeal {
 public:
  // Derives the key from password (code page 1252) and the parameters of
  // header, which must have been checked: one Argon2id run, slow on purpose.
  PayloadSeal(const ShowHeader& header, std::string_view password);

  // sealed is plain followed by its tag (cipher::kTagLength bytes).
  void Seal(const MessageId& id, std::span<const std::uint8_t> plain,
            std::span<std::uint8_t> sealed) const;
  // False, with plain wiped, when sealed is not the message id of this file.
  bool Open(const MessageId& id, std::span<const std::uint8_t> sealed,
            std::span<std::uint8_t> plain) const;

 private:
  cipher::Nonce NonceFor(const MessageId& id) const;

  ShowHeader::Bytes associatedData_;
  FileId fileId_;
  cipher::SecretKey key_;
};

// Seals the payload on its way to out: the entry table as one message, each
// picture in chunks of kSealedChunkSize bytes. A piece is sealed on the pool
// while the caller brings the next one, then written with one call on a thread
// of the pool while the next piece is sealed.
class SealingSink : public PayloadSink {
 public:
  SealingSink(ShowOutput& out, const PayloadSeal& seal);
  void WriteTable(std::span<std::uint8_t> table) override;
  void WritePicturePiece(std::uint32_t slideNumber, std::uint64_t offset,
                         std::span<std::uint8_t> bytes, bool last) override;
  void Finish() override;

 private:
  // Waits for the piece being sealed, then starts writing it.
  void WriteSealedPiece();
  // The buffer that the write before the last one used, size bytes long.
  std::span<std::uint8_t> NextBuffer(std::size_t size);
  // Writes sealed after what was written before, once the write in flight
  // has ended; reports that write's failure.
  void StartWriting(std::span<const std::uint8_t> sealed);

  ShowOutput& out_;
  const PayloadSeal& seal_;
  // One is written while the other is sealed.
  std::array<std::vector<std::uint8_t>, 2> buffers_;
  std::size_t turn_ = 0;
  std::optional<std::span<const std::uint8_t>> beingSealed_;
  // Last, so that they wait for their jobs before the buffers go.
  parallel::Batch sealing_;
  parallel::Batch writing_;  // one write in flight at most, so in order
};

// Reads bytes of the payload at a payload offset.
using PayloadReader = std::function<void(std::uint64_t offset, std::span<std::uint8_t> data)>;

// Opens the picture of slide slideNumber, pictureSize plain bytes stored at
// storedOffset, a piece at a time, handing each opened piece to take; the
// next piece is read and opened meanwhile. A chunk that does not open makes
// the picture damaged (error 62); what take was given before then is
// authentic, but not the whole picture. read and take are called on the
// calling thread only.
void OpenSealedPicture(const PayloadSeal& seal, std::uint32_t slideNumber,
                       std::uint64_t storedOffset, std::uint64_t pictureSize,
                       const PayloadReader& read,
                       const std::function<void(std::span<const std::uint8_t>)>& take);
// The same, straight into picture, which holds the picture's plain size. On
// a failure picture holds authentic bytes of a part of it: the caller wipes
// it.
void OpenSealedPictureInto(const PayloadSeal& seal, std::uint32_t slideNumber,
                           std::uint64_t storedOffset, const PayloadReader& read,
                           std::span<std::uint8_t> picture);

}  // namespace pivolane::format
