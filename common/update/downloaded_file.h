// The check of a downloaded file against what the publisher signed.
#pragma once

#include <cstdint>
#include <filesystem>

#include "common/update/manifest.h"

namespace pivolane::update {

// The SHA-256 of a whole file, read in chunks. Throws a Failure when the file
// cannot be read.
Sha256 Sha256OfFile(const std::filesystem::path& path);

// Throws a Refusal unless the file at path is there, has the size that the
// server announced before the download, and the size and SHA-256 of entry.
void CheckDownloadedFile(const std::filesystem::path& path, const ManifestEntry& entry,
                         std::uint64_t announcedSize);

}  // namespace pivolane::update
