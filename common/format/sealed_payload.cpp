#include "common/format/sealed_payload.h"

#include <algorithm>

#include "common/errors.h"
#include "common/format/payload_layout.h"

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
  if (!cipher::WithinBounds(p.limits)) {
    ThrowDamagedFile("the key derivation asks for " + std::to_string(p.limits.passes) +
                     " passes over " + std::to_string(p.limits.memoryBytes) +
                     " bytes, outside the bounds of any show");
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

void SealingSink::WriteTable(std::span<std::uint8_t> table) {
  sealed_.resize(table.size() + cipher::kTagLength);
  seal_.Seal(kEntryTableMessage, table, sealed_);
  out_.Append(sealed_);
}

void SealingSink::WritePicturePiece(std::uint32_t slideNumber, std::uint64_t offset,
                                    std::span<std::uint8_t> bytes, bool last) {
  static_assert(kPayloadPieceSize % kSealedChunkSize == 0, "pieces are whole chunks");
  // Chunk by chunk, so that what is sealed is still in the cache when it is
  // written.
  const std::uint64_t chunks = bytes.empty() ? 1 : SealedChunkCount(bytes.size());
  for (std::uint64_t c = 0; c < chunks; ++c) {
    const std::span<const std::uint8_t> plain =
        bytes.subspan(static_cast<std::size_t>(c * kSealedChunkSize),
                      std::min<std::size_t>(bytes.size() - c * kSealedChunkSize, kSealedChunkSize));
    const MessageId id{slideNumber, static_cast<std::uint32_t>(offset / kSealedChunkSize + c),
                       last && c + 1 == chunks};
    sealed_.resize(plain.size() + cipher::kTagLength);
    seal_.Seal(id, plain, sealed_);
    out_.Append(sealed_);
  }
}

void OpenSealedPicture(const PayloadSeal& seal, std::uint32_t slideNumber,
                       std::uint64_t storedOffset, std::uint64_t pictureSize,
                       const PayloadReader& read,
                       const std::function<void(std::span<const std::uint8_t>)>& take) {
  const std::uint64_t chunks = SealedChunkCount(pictureSize);
  std::vector<std::uint8_t> sealed(
      static_cast<std::size_t>(std::min<std::uint64_t>(pictureSize, kSealedChunkSize)) +
      cipher::kTagLength);
  std::vector<std::uint8_t> plain(sealed.size() - cipher::kTagLength);
  // The plain bytes are wiped however the loop ends.
  try {
    std::uint64_t at = storedOffset;
    for (std::uint64_t k = 0; k < chunks; ++k) {
      const auto n = static_cast<std::size_t>(
          std::min<std::uint64_t>(pictureSize - k * kSealedChunkSize, kSealedChunkSize));
      const std::span<std::uint8_t> in(sealed.data(), n + cipher::kTagLength);
      const std::span<std::uint8_t> out(plain.data(), n);
      read(at, in);
      if (!seal.Open({slideNumber, static_cast<std::uint32_t>(k), k + 1 == chunks}, in, out)) {
        ThrowDamagedFile("the picture of slide " + std::to_string(slideNumber) +
                         " does not pass its check");
      }
      take(out);
      at += in.size();
    }
  } catch (...) {
    cipher::Wipe(plain);
    throw;
  }
  cipher::Wipe(plain);
}

}  // namespace pivolane::format
