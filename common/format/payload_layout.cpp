#include "common/format/payload_layout.h"

#include "common/cipher/strong_cipher.h"

namespace pivolane::format {

bool IsKnownCipherVersion(std::int16_t cipherVersion) {
  return cipherVersion == kXorCipherVersion || cipherVersion == kSealedCipherVersion;
}

std::uint64_t PayloadLayout::TableSize(std::uint64_t slideCount) const {
  return slideCount * kEntrySize + (sealed ? cipher::kTagLength : 0);
}

std::uint64_t PayloadLayout::PictureSize(std::uint64_t pictureSize) const {
  return pictureSize + (sealed ? SealedChunkCount(pictureSize) * cipher::kTagLength : 0);
}

std::uint64_t SealedChunkCount(std::uint64_t pictureSize) {
  return pictureSize == 0 ? 1 : (pictureSize + kSealedChunkSize - 1) / kSealedChunkSize;
}

}  // namespace pivolane::format
