#include "common/format/sealed_pieces.h"

#include <algorithm>
#include <string>

#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/format/payload_sink.h"

namespace pivolane::format {

namespace {

static_assert(kPayloadPieceSize % kSealedChunkSize == 0 && kOpenedPieceSize % kSealedChunkSize == 0,
              "pieces are whole chunks");
constexpr std::size_t kSealedChunkStride = kSealedChunkSize + cipher::kTagLength;

// Chunk k of a piece of plainSize bytes: where its plain and sealed bytes lie.
struct ChunkBounds {
  std::size_t plainAt;
  std::size_t sealedAt;
  std::size_t plainSize;
};

ChunkBounds BoundsOfChunk(std::size_t k, std::size_t plainSize) {
  const std::size_t plainAt = k * kSealedChunkSize;
  return {plainAt, k * kSealedChunkStride, std::min(plainSize - plainAt, kSealedChunkSize)};
}

MessageId IdOfChunk(const PiecePlace& place, std::size_t k, std::size_t chunks) {
  return {place.slideNumber, place.firstChunk + static_cast<std::uint32_t>(k),
          place.endsPicture && k + 1 == chunks};
}

}  // namespace

PiecePlace PlaceOfPiece(std::uint32_t slideNumber, std::uint64_t offset, bool endsPicture) {
  return {slideNumber, static_cast<std::uint32_t>(offset / kSealedChunkSize), endsPicture};
}

std::uint64_t PieceCount(std::uint64_t pictureSize) {
  return pictureSize == 0 ? 1 : (pictureSize + kOpenedPieceSize - 1) / kOpenedPieceSize;
}

std::size_t SealedPieceSize(std::size_t plainSize) {
  return static_cast<std::size_t>(PayloadLayout{true}.PictureSize(plainSize));
}

void StartSealing(const PayloadSeal& seal, const PiecePlace& place,
                  std::span<const std::uint8_t> plain, std::span<std::uint8_t> sealed,
                  parallel::Batch& batch) {
  const auto chunks = static_cast<std::size_t>(SealedChunkCount(plain.size()));
  batch.Start(chunks, [&seal, place, plain, sealed, chunks](std::size_t k) {
    const ChunkBounds c = BoundsOfChunk(k, plain.size());
    seal.Seal(IdOfChunk(place, k, chunks), plain.subspan(c.plainAt, c.plainSize),
              sealed.subspan(c.sealedAt, c.plainSize + cipher::kTagLength));
  });
}

void StartOpening(const PayloadSeal& seal, const PiecePlace& place,
                  std::span<const std::uint8_t> sealed, std::span<std::uint8_t> plain,
                  parallel::Batch& batch) {
  const auto chunks = static_cast<std::size_t>(SealedChunkCount(plain.size()));
  batch.Start(chunks, [&seal, place, sealed, plain, chunks](std::size_t k) {
    const ChunkBounds c = BoundsOfChunk(k, plain.size());
    if (!seal.Open(IdOfChunk(place, k, chunks),
                   sealed.subspan(c.sealedAt, c.plainSize + cipher::kTagLength),
                   plain.subspan(c.plainAt, c.plainSize))) {
      ThrowDamagedFile("the picture of slide " + std::to_string(place.slideNumber) +
                       " does not pass its check");
    }
  });
}

}  // namespace pivolane::format
