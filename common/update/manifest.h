// The signed list of an update folder, "update.manifest": what the publisher
// put there, file by file, with the SHA-256 and size of each. Its signature,
// "update.manifest.minisig", is made with the publisher's minisign key.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pivolane::update {

inline constexpr std::string_view kManifestName = "update.manifest";
inline constexpr std::string_view kManifestSignatureName = "update.manifest.minisig";
// Neither the manifest nor its signature is larger.
inline constexpr std::uint64_t kManifestSizeLimit = 64 * 1024;

using Sha256 = std::array<std::uint8_t, 32>;

struct ManifestEntry {
  Sha256 sha256{};
  std::uint64_t size = 0;
  std::string name;
};

struct Manifest {
  std::string version;  // the version digits
  std::vector<ManifestEntry> files;

  // The entry of that file name; nullptr when the publisher did not list it.
  const ManifestEntry* Find(std::string_view name) const;
};

// True for the manifest and its signature, which are not files of the update.
bool IsManifestFile(std::string_view name);

// The manifest text: "pivolane-update 1", "version " + digits, then one line
// per file: SHA-256 in hex, size in bytes and name, separated by single
// spaces. Names are plain file names. Throws a Refusal for anything else.
Manifest ParseManifest(std::string_view text);

// Checks the signature of manifest against the publisher's public key (the
// base64 line of a minisign key) and that it lists versionDigits, which names
// the version file "Pivolane." + versionDigits. Throws a Refusal otherwise.
Manifest VerifyManifest(std::span<const std::uint8_t> manifest, std::string_view signatureText,
                        std::string_view publicKey, std::string_view versionDigits);

}  // namespace pivolane::update
