#include "tests/player/show_builder.h"

#include "common/cipher/cryptage_xor.h"
#include "common/cipher/password.h"
#include "common/format/self_running.h"

namespace pivolane::test_shows {

void BuildShow(const std::filesystem::path& path, std::span<const std::uint8_t> playerBytes,
               const ShowSpec& spec) {
  cipher::CryptageXor cipherState;
  cipherState.keyStart = 77;
  format::ShowOptions options = spec.options;
  options.usePassword = spec.password.has_value();
  if (spec.password) cipherState.currentPassword = cipher::EncodeNewPassword(*spec.password);
  format::BuildSelfRunningShowFile(path, spec.slides, options, cipherState, playerBytes);
}

}  // namespace pivolane::test_shows
