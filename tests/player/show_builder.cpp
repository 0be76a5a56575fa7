#include "tests/player/show_builder.h"

#include "common/cipher/cryptage_xor.h"
#include "common/cipher/password.h"
#include "common/format/self_running.h"

namespace pivolane::test_shows {

void BuildShow(const std::filesystem::path& path, std::span<const std::uint8_t> playerBytes,
               const ShowContents& contents) {
  cipher::CryptageXor cipherState;
  cipherState.keyStart = 77;
  format::ShowOptions options = contents.options;
  options.usePassword = contents.password.has_value();
  if (contents.password)
    cipherState.currentPassword = cipher::EncodeNewPassword(*contents.password);
  format::BuildSelfRunningShowFile(path, contents.slides, options, cipherState, playerBytes);
}

}  // namespace pivolane::test_shows
