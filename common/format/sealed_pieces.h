// Pieces of sealed pictures, sealed or opened on all the machine's cores: a
// piece is whole chunks of one picture, each chunk one job of a batch. The
// writer seals the pieces it is given (kPayloadPieceSize bytes); readers
// open pieces of kOpenedPieceSize bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/format/sealed_payload.h"
#include "common/parallel/worker_pool.h"

namespace pivolane::format {

// Small enough that a picture of a megabyte is read, opened and handed on in
// overlapping steps; large enough that each step gives every core work.
inline constexpr std::size_t kOpenedPieceSize = 256 << 10;

// Where a piece lies in its picture.
struct PiecePlace {
  std::uint32_t slideNumber = 0;  // 1-based
  std::uint32_t firstChunk = 0;
  bool endsPicture = false;
};

// The place of the piece of slideNumber's picture that starts at plain byte
// offset, a multiple of kSealedChunkSize.
PiecePlace PlaceOfPiece(std::uint32_t slideNumber, std::uint64_t offset, bool endsPicture);

// The number of pieces of kOpenedPieceSize bytes of a picture of
// pictureSize bytes, at least 1.
std::uint64_t PieceCount(std::uint64_t pictureSize);

// The stored size of a piece of plainSize bytes: each chunk followed by its
// tag, at least one chunk.
std::size_t SealedPieceSize(std::size_t plainSize);

// Starts sealing plain, the piece at place, into sealed
// (SealedPieceSize(plain.size()) bytes); batch.Wait() ends it.
void StartSealing(const PayloadSeal& seal, const PiecePlace& place,
                  std::span<const std::uint8_t> plain, std::span<std::uint8_t> sealed,
                  parallel::Batch& batch);

// Starts opening sealed, the stored piece at place, into plain
// (plain.size() + one tag per chunk = sealed.size()). batch.Wait() ends it:
// a chunk that does not open makes it throw error 62, with that chunk's
// plain bytes wiped (the caller wipes the rest of plain).
void StartOpening(const PayloadSeal& seal, const PiecePlace& place,
                  std::span<const std::uint8_t> sealed, std::span<std::uint8_t> plain,
                  parallel::Batch& batch);

}  // namespace pivolane::format
