#include "common/update/downloaded_file.h"

#include <sodium.h>

#include <vector>

#include "common/io/file.h"
#include "common/update/refusal.h"

namespace pivolane::update {

Sha256 Sha256OfFile(const std::filesystem::path& path) {
  const io::File file(path, io::OpenMode::kRead);
  crypto_hash_sha256_state state;
  crypto_hash_sha256_init(&state);
  std::vector<std::uint8_t> chunk(io::kChunkSize);
  const std::uint64_t size = file.Size();
  for (std::uint64_t at = 0; at < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size - at, chunk.size()));
    file.ReadAt(at, std::span(chunk.data(), n));
    crypto_hash_sha256_update(&state, chunk.data(), n);
    at += n;
  }
  Sha256 digest;
  crypto_hash_sha256_final(&state, digest.data());
  return digest;
}

void CheckDownloadedFile(const std::filesystem::path& path, const ManifestEntry& entry,
                         std::uint64_t announcedSize) {
  if (!io::Exists(path)) throw Refusal(entry.name + " was not downloaded");
  const std::uint64_t size = io::FileSize(path);
  if (announcedSize != entry.size || size != entry.size) {
    throw Refusal(entry.name + ": " + std::to_string(size) +
                  " bytes downloaded, the server announced " + std::to_string(announcedSize) +
                  ", the publisher signed " + std::to_string(entry.size));
  }
  if (Sha256OfFile(path) != entry.sha256) {
    throw Refusal(entry.name + " is not the file that the publisher signed");
  }
}

}  // namespace pivolane::update
