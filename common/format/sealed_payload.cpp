#include "common/format/sealed_payload.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/format/sealed_pieces.h"

namespace pivolane::format {

namespace {

constexpr std::size_t kPassesAt = 16;
constexpr std::size_t kMemoryAt = 20;
constexpr std::size_t kFileIdAt = 28;
constexpr std::uint32_t kLastChunkFlag = 0x80000000u;

template <typename Int>
Int LittleEndianAt(const SealedParameters::Field& field, std::size_t at) {
  Int value = 0;
  for (std::size_t i = 0; i < sizeof(Int); ++i) value |= Int{field[at + i]} << (8 * i);
  return value;
}

template <typename Int>
void PutLittleEndian(std::span<std::uint8_t> out, std::size_t at, Int value) {
  for (std::size_t i = 0; i < sizeof(Int); ++i) {
    out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace

SealedParameters SealedParameters::Parse(const Field& field) {
  SealedParameters p;
  std::copy_n(field.begin(), p.salt.size(), p.salt.begin());
  p.limits.passes = LittleEndianAt<std::uint32_t>(field, kPassesAt);
  p.limits.memoryBytes = LittleEndianAt<std::uint64_t>(field, kMemoryAt);
  std::copy_n(field.begin() + kFileIdAt, p.fileId.size(), p.fileId.begin());
  return p;
}

SealedParameters::Field SealedParameters::Serialize() const {
  Field field{};
  std::copy(salt.begin(), salt.end(), field.begin());
  PutLittleEndian(field, kPassesAt, limits.passes);
  PutLittleEndian(field, kMemoryAt, limits.memoryBytes);
  std::copy(fileId.begin(), fileId.end(), field.begin() + kFileIdAt);
  return field;
}

SealedParameters SealedParameters::New(const cipher::KdfLimits& limits) {
  SealedParameters p;
  p.limits = limits;
  cipher::RandomBytes(p.salt);
  cipher::RandomBytes(p.fileId);
  return p;
}

SealedParameters CheckedSealedParameters(const ShowHeader& header) {
  const SealedParameters p = SealedParameters::Parse(header.PasswordCheck);
  if (!cipher::AreAcceptedLimits(p.limits)) {
    ThrowDamagedFile("the key derivation asks for " + std::to_string(p.limits.passes) +
                     " passes over " + std::to_string(p.limits.memoryBytes) +
                     " bytes, a cost no show is written with");
  }
  return p;
}

PayloadSeal::PayloadSeal(const ShowHeader& header, std::string_view password)
    : associatedData_(header.Serialize()) {
  const SealedParameters p = CheckedSealedParameters(header);
  fileId_ = p.fileId;
  cipher::DeriveKey(password, p.salt, p.limits, key_);
}

cipher::Nonce PayloadSeal::NonceFor(const MessageId& id) const {
  cipher::Nonce nonce{};
  std::copy(fileId_.begin(), fileId_.end(), nonce.begin());
  PutLittleEndian(nonce, kFileIdLength, id.slideNumber);
  PutLittleEndian(nonce, kFileIdLength + 4, id.chunk | (id.last ? kLastChunkFlag : 0));
  return nonce;
}

void PayloadSeal::Seal(const MessageId& id, std::span<const std::uint8_t> plain,
                       std::span<std::uint8_t> sealed) const {
  cipher::Seal(key_, NonceFor(id), associatedData_, plain, sealed);
}

bool PayloadSeal::Open(const MessageId& id, std::span<const std::uint8_t> sealed,
                       std::span<std::uint8_t> plain) const {
  return cipher::Open(key_, NonceFor(id), associatedData_, sealed, plain);
}

SealingSink::SealingSink(ShowOutput& out, const PayloadSeal& seal) : out_(out), seal_(seal) {}

void SealingSink::WriteTable(std::span<std::uint8_t> table) {
  WriteSealedPiece();
  const std::span<std::uint8_t> sealed = NextBuffer(table.size() + cipher::kTagLength);
  seal_.Seal(kEntryTableMessage, table, sealed);
  StartWriting(sealed);
}

void SealingSink::WritePicturePiece(std::uint32_t slideNumber, std::uint64_t offset,
                                    std::span<std::uint8_t> bytes, bool last) {
  WriteSealedPiece();
  const std::span<std::uint8_t> sealed = NextBuffer(SealedPieceSize(bytes.size()));
  StartSealing(seal_, PlaceOfPiece(slideNumber, offset, last), bytes, sealed, sealing_);
  beingSealed_ = sealed;
}

void SealingSink::Finish() {
  WriteSealedPiece();
  writing_.Wait();
}

void SealingSink::WriteSealedPiece() {
  sealing_.Wait();
  if (beingSealed_) StartWriting(*std::exchange(beingSealed_, std::nullopt));
}

std::span<std::uint8_t> SealingSink::NextBuffer(std::size_t size) {
  // StartWriting waited for the write that used it.
  turn_ = 1 - turn_;
  buffers_[turn_].resize(size);
  return buffers_[turn_];
}

void SealingSink::StartWriting(std::span<const std::uint8_t> sealed) {
  writing_.Wait();
  writing_.Start(1, [this, sealed](std::size_t) {
    out_.Write(sealed);
    out_.StartWriteback();
  });
}

namespace {

// Bytes that a thread keeps between the pictures it reads: megabytes made
// anew for every picture cost more in page faults than opening it. They are
// overwritten before they are used, so not cleared when made.
class Scratch {
 public:
  std::span<std::uint8_t> Take(std::size_t size) {
    if (size > size_) {
      bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
      size_ = size;
    }
    return {bytes_.get(), size};
  }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
};

// The stored bytes of the pieces in flight, and the plain ones of a picture
// that is taken a piece at a time.
thread_local Scratch t_storedPieces;
thread_local Scratch t_plainPieces;

// Where the plain bytes of piece k, size bytes, go.
using PlainPlace = std::function<std::span<std::uint8_t>(std::uint64_t k, std::size_t size)>;

// Pieces read and being opened at once: while this thread hands one on and
// reads the one after next, the pool opens the next one.
constexpr std::size_t kPiecesInFlight = 2;

// The pieces of a picture of pictureSize bytes that are in flight at once.
std::size_t PiecesInFlight(std::uint64_t pictureSize) {
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(PieceCount(pictureSize), kPiecesInFlight));
}

// Opens the picture a piece at a time into the places plainOf gives,
// calling opened with each piece's plain bytes in order.
void OpenPieces(const PayloadSeal& seal, std::uint32_t slideNumber, std::uint64_t storedOffset,
                std::uint64_t pictureSize, const PayloadReader& read, const PlainPlace& plainOf,
                const std::function<void(std::span<const std::uint8_t>)>& opened) {
  const std::uint64_t pieces = PieceCount(pictureSize);
  const std::size_t stride = SealedPieceSize(
      static_cast<std::size_t>(std::min<std::uint64_t>(pictureSize, kOpenedPieceSize)));
  const std::span<std::uint8_t> stored = t_storedPieces.Take(PiecesInFlight(pictureSize) * stride);
  // Piece k is opened by opening[k % kPiecesInFlight]. However this ends,
  // they wait for their jobs before anything those work on goes.
  std::array<parallel::Batch, kPiecesInFlight> opening;

  const auto plainOfPiece = [&](std::uint64_t k) {
    return plainOf(k, static_cast<std::size_t>(std::min<std::uint64_t>(
                          pictureSize - k * kOpenedPieceSize, kOpenedPieceSize)));
  };
  std::uint64_t storedAt = storedOffset;
  const auto readAndStartOpening = [&](std::uint64_t k) {
    const std::span<std::uint8_t> plain = plainOfPiece(k);
    const std::span<std::uint8_t> bytes = stored.subspan(
        static_cast<std::size_t>(k % kPiecesInFlight) * stride, SealedPieceSize(plain.size()));
    read(storedAt, bytes);
    storedAt += bytes.size();
    StartOpening(seal, PlaceOfPiece(slideNumber, k * kOpenedPieceSize, k + 1 == pieces), bytes,
                 plain, opening[k % kPiecesInFlight]);
  };

  for (std::uint64_t k = 0; k < PiecesInFlight(pictureSize); ++k) readAndStartOpening(k);
  for (std::uint64_t k = 0; k < pieces; ++k) {
    opening[k % kPiecesInFlight].Wait();
    opened(plainOfPiece(k));
    if (k + kPiecesInFlight < pieces) readAndStartOpening(k + kPiecesInFlight);
  }
}

}  // namespace

void OpenSealedPicture(const PayloadSeal& seal, std::uint32_t slideNumber,
                       std::uint64_t storedOffset, std::uint64_t pictureSize,
                       const PayloadReader& read,
                       const std::function<void(std::span<const std::uint8_t>)>& take) {
  const auto pieceSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(pictureSize, kOpenedPieceSize));
  const std::span<std::uint8_t> plain = t_plainPieces.Take(PiecesInFlight(pictureSize) * pieceSize);
  try {
    OpenPieces(
        seal, slideNumber, storedOffset, pictureSize, read,
        [&](std::uint64_t k, std::size_t size) {
          return plain.subspan(static_cast<std::size_t>(k % kPiecesInFlight) * pieceSize, size);
        },
        take);
  } catch (...) {
    cipher::Wipe(plain);
    throw;
  }
  cipher::Wipe(plain);
}

void OpenSealedPictureInto(const PayloadSeal& seal, std::uint32_t slideNumber,
                           std::uint64_t storedOffset, const PayloadReader& read,
                           std::span<std::uint8_t> picture) {
  OpenPieces(
      seal, slideNumber, storedOffset, picture.size(), read,
      [&](std::uint64_t k, std::size_t size) {
        return picture.subspan(static_cast<std::size_t>(k * kOpenedPieceSize), size);
      },
      [](std::span<const std::uint8_t>) {});
}

}  // namespace pivolane::format
