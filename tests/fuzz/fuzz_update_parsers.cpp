// libFuzzer target: whatever an update server sends as a listing, a
// signature or a manifest ends in a Refusal, a Failure or a clean result,
// never a crash, a leak or a read outside the input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/errors.h"
#include "common/update/ftp_listing.h"
#include "common/update/manifest.h"
#include "common/update/minisign.h"
#include "common/update/refusal.h"

namespace {

// The key of the samples' signature: inputs made with it reach the Ed25519
// checks themselves.
constexpr std::string_view kKey = "RWTXxKPA8C8hr7qtmGPWNpmA1XGH/ayVhx/mXwDI1ZBtHbbG0h6/ZBm+";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pivolane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto format : {update::ListingFormat::kMlsd, update::ListingFormat::kList}) {
    const std::string listing = update::DirectoryListing(text, format, "Pivolane.*");
    try {
      update::FirstListingLine(listing);
    } catch (const Failure&) {
    }
    update::ListingLines(listing);
  }
  try {
    update::ParseManifest(text);
  } catch (const update::Refusal&) {
  }
  try {
    update::ParsePublicKey(text);
  } catch (const update::Refusal&) {
  }
  // The input as a signature of itself, and as a manifest with its own
  // first half as signature.
  try {
    update::VerifyManifest({data, size}, text, kKey, "101");
  } catch (const update::Refusal&) {
  }
  try {
    update::VerifyManifest({data, size}, text.substr(0, size / 2), kKey, "101");
  } catch (const update::Refusal&) {
  }
  return 0;
}
