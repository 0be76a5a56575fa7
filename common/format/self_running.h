// Self-running shows: the player program's bytes, the payload, one 0x00 byte,
// then the trailer. The player finds its data through the trailer at the end
// of its own file; PlayerSize is the offset of the payload.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "common/cipher/cryptage_xor.h"
#include "common/format/show_writer.h"

namespace pivolane::format {

// The name a self-running show is saved under: unchanged when it ends in
// ".exe" in any letter case, else with ".exe" appended ("a.ex" -> "a.ex.exe").
std::string WithExeExtension(const std::string& name);

// The PlayerSize that a show's header records for the player playerBytes;
// error 6 for a player that the field cannot measure.
std::int32_t CarriedPlayerSize(std::span<const std::uint8_t> playerBytes);

// Builds the show at target from the player's bytes. It is assembled
// completely and only then replaces target (workspace::WriteFileReplacing),
// so that a failure leaves any existing target untouched and no scratch file
// behind. The result is executable wherever it is readable: a new show gets
// 0777 less the umask, a replaced one the permissions of the file it replaces.
void BuildSelfRunningShowFile(const fs::path& target, const std::vector<SlideSource>& slides,
                              const ShowOptions& options, const cipher::CryptageXor& cipherState,
                              std::span<const std::uint8_t> playerBytes);

}  // namespace pivolane::format
