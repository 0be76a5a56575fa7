// Where the parts of a payload lie: the cipher version of a show decides how
// much room its entry table and each of its pictures take in the file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/format/records.h"

namespace pivolane::format {

// CipherVersion of a show with a password: the XOR cipher, or the sealed
// payload (Argon2id and XChaCha20-Poly1305). A show without one writes 0.
inline constexpr std::int16_t kXorCipherVersion = 1;
inline constexpr std::int16_t kSealedCipherVersion = 2;

// The versions this program reads; any other is a newer scheme (error 102).
bool IsKnownCipherVersion(std::int16_t cipherVersion);

// Sealed pictures are cut into chunks of at most this many plain bytes, each
// sealed on its own, so that a picture is read in small steps.
inline constexpr std::size_t kSealedChunkSize = 64 << 10;

// Without a password and with the XOR cipher every part takes its own size.
// Sealed, the entry table is one message and each picture a series of
// chunks; every message is followed by its 16-byte tag, and an empty picture
// is one empty chunk.
struct PayloadLayout {
  bool sealed = false;

  static PayloadLayout For(bool hasPassword, std::int16_t cipherVersion) {
    return {hasPassword && cipherVersion == kSealedCipherVersion};
  }
  static PayloadLayout Of(const ShowHeader& header) {
    return For(header.HasPassword(), header.CipherVersion);
  }

  // The stored size of the entry table of slideCount slides.
  std::uint64_t TableSize(std::uint64_t slideCount) const;
  // The stored size of a picture of pictureSize bytes.
  std::uint64_t PictureSize(std::uint64_t pictureSize) const;
};

// The number of sealed chunks of a picture of pictureSize bytes, at least 1.
std::uint64_t SealedChunkCount(std::uint64_t pictureSize);

}  // namespace pivolane::format
