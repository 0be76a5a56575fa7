#include "common/update/manifest.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "common/update/lines.h"
#include "common/update/minisign.h"
#include "common/update/refusal.h"

namespace pivolane::update {

namespace {

constexpr std::string_view kHeader = "pivolane-update 1";
constexpr std::string_view kVersionPrefix = "version ";
// The launcher's name on the server is this followed by the version digits.
constexpr std::string_view kVersionFilePrefix = "Pivolane.";

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseSha256(std::string_view hex, Sha256& out) {
  if (hex.size() != 2 * out.size()) return false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int high = HexValue(hex[2 * i]);
    const int low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

// A name that can only designate a file of the update folder, and that the
// transfer commands (which separate their words by spaces) can carry.
bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name.front() == '.') return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7F || c == '/' || c == '\\';
  });
}

ManifestEntry ParseEntry(std::string_view line) {
  const std::size_t first = line.find(' ');
  const std::size_t second = line.find(' ', first == std::string_view::npos ? first : first + 1);
  if (second == std::string_view::npos) throw Refusal("a line of the manifest is not complete");
  ManifestEntry entry;
  const std::string_view size = line.substr(first + 1, second - first - 1);
  entry.name = std::string(line.substr(second + 1));
  if (!ParseSha256(line.substr(0, first), entry.sha256)) {
    throw Refusal("the manifest holds an invalid SHA-256");
  }
  const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), entry.size);
  if (!IsDigits(size) || error != std::errc() || end != size.data() + size.size()) {
    throw Refusal("the manifest holds an invalid size");
  }
  if (!IsPlainFileName(entry.name) || IsManifestFile(entry.name)) {
    throw Refusal("the manifest names a file that an update cannot hold: " + entry.name);
  }
  return entry;
}

}  // namespace

const ManifestEntry* Manifest::Find(std::string_view name) const {
  const auto found = std::find_if(files.begin(), files.end(),
                                  [&](const ManifestEntry& entry) { return entry.name == name; });
  return found == files.end() ? nullptr : &*found;
}

bool IsManifestFile(std::string_view name) {
  return name == kManifestName || name == kManifestSignatureName;
}

Manifest ParseManifest(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || lines[0] != kHeader) throw Refusal("the manifest has no valid first line");
  if (lines.size() < 2 || !lines[1].starts_with(kVersionPrefix) ||
      !IsDigits(lines[1].substr(kVersionPrefix.size()))) {
    throw Refusal("the manifest names no version");
  }
  Manifest manifest;
  manifest.version = std::string(lines[1].substr(kVersionPrefix.size()));
  std::set<std::string> names;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    ManifestEntry entry = ParseEntry(lines[i]);
    if (!names.insert(entry.name).second) {
      throw Refusal("the manifest names a file twice: " + entry.name);
    }
    manifest.files.push_back(std::move(entry));
  }
  if (manifest.files.empty()) throw Refusal("the manifest names no file");
  return manifest;
}

Manifest VerifyManifest(std::span<const std::uint8_t> manifest, std::string_view signatureText,
                        std::string_view publicKey, std::string_view versionDigits) {
  VerifySignature(ParsePublicKey(publicKey), ParseSignature(signatureText), manifest);
  Manifest parsed = ParseManifest(
      std::string_view(reinterpret_cast<const char*>(manifest.data()), manifest.size()));
  if (parsed.version != versionDigits) {
    throw Refusal("the manifest is for version " + parsed.version + ", the server offers " +
                  std::string(versionDigits));
  }
  const std::string versionFile = std::string(kVersionFilePrefix) + std::string(versionDigits);
  if (parsed.Find(versionFile) == nullptr) {
    throw Refusal("the manifest does not name the version file " + versionFile);
  }
  return parsed;
}

}  // namespace pivolane::update
