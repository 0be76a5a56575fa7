#include "tools/pivtool/show_settings.h"

#include <bit>

#include "common/cipher/password.h"
#include "common/format/payload_layout.h"
#include "common/platform/platform.h"
#include "tools/pivtool/commands.h"

namespace pivolane::pivtool {

namespace {

// --cipher 1|2 (2, the strong cipher, unless told otherwise), and for version
// 2 the cost of its key derivation.
void TakeCipherSettings(Arguments& args, format::ShowOptions& options) {
  const std::optional<int> cipherVersion =
      args.TakeNumber("--cipher", format::kXorCipherVersion, format::kSealedCipherVersion);
  options.cipherVersion =
      static_cast<std::int16_t>(cipherVersion.value_or(format::kSealedCipherVersion));
  const std::optional<int> passes =
      args.TakeNumber("--kdf-passes", static_cast<int>(cipher::kMinimumKdfLimits.passes),
                      static_cast<int>(cipher::kMaximumKdfLimits.passes));
  const std::optional<int> memoryKib =
      args.TakeNumber("--kdf-memory", static_cast<int>(cipher::kMinimumKdfLimits.memoryBytes >> 10),
                      static_cast<int>(cipher::kMaximumKdfLimits.memoryBytes >> 10));
  if (cipherVersion == format::kSealedCipherVersion && !options.usePassword) {
    throw UsageError("--cipher 2 enciphers with a password: give --password-stdin");
  }
  if ((passes || memoryKib) &&
      (!options.usePassword || options.cipherVersion != format::kSealedCipherVersion)) {
    throw UsageError("--kdf-passes and --kdf-memory go with a password and cipher 2");
  }
  // The only memory costs that readers accept.
  if (memoryKib && !std::has_single_bit(static_cast<unsigned>(*memoryKib))) {
    throw UsageError("--kdf-memory takes a power of two: 8, 16, 32, ... 1048576");
  }
  if (passes) options.kdfLimits.passes = static_cast<std::uint32_t>(*passes);
  if (memoryKib) options.kdfLimits.memoryBytes = static_cast<std::uint64_t>(*memoryKib) << 10;
}

}  // namespace

ShowSettings TakeShowSettings(Arguments& args, std::istream& in) {
  ShowSettings s;
  s.options.delaySeconds = args.TakeNumber("--delay", 0, 255).value_or(3);
  s.options.loop = args.TakeFlag("--loop");
  s.options.random = args.TakeFlag("--random");
  s.options.titles = args.TakeFlag("--titles");
  s.options.usePassword = args.TakeFlag("--password-stdin");
  const std::optional<int> keyStart = args.TakeNumber("--key-start", 1, 255);
  s.cipherState.keyStart = keyStart ? static_cast<std::uint8_t>(*keyStart)
                                    : cipher::KeyStartFromUnit(platform::RandomUnit());
  const std::string language = args.TakeValue("--language").value_or("en");
  if (language != "fr" && language != "en") {
    throw UsageError("--language takes fr or en, not \"" + language + "\"");
  }
  s.options.language = language == "fr" ? 0 : 1;
  TakeCipherSettings(args, s.options);
  if (s.options.usePassword)
    s.cipherState.currentPassword = cipher::EncodeNewPassword(ReadPasswordLine(in));
  return s;
}

ShowRequest TakeShowRequest(Arguments& args, std::istream& in, const std::string& usage) {
  ShowRequest request;
  request.settings = TakeShowSettings(args, in);
  const std::vector<std::string> operands = args.Operands();
  if (operands.size() < 2) throw UsageError(usage);
  request.output = operands.front();
  for (auto it = operands.begin() + 1; it != operands.end(); ++it) {
    request.slides.push_back({std::filesystem::path(*it).filename().string(), *it});
  }
  return request;
}

}  // namespace pivolane::pivtool
