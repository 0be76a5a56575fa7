#include "common/format/self_running.h"

#include <algorithm>
#include <cctype>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/workspace/workspace.h"

namespace pivolane::format {

std::string WithExeExtension(const std::string& name) {
  std::string ending = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".exe" ? name : name + ".exe";
}

void BuildSelfRunningShowFile(const fs::path& target, const std::vector<SlideSource>& slides,
                              const ShowOptions& options, const cipher::CryptageXor& cipherState,
                              std::span<const std::uint8_t> playerBytes) {
  if (playerBytes.size() > static_cast<std::size_t>(INT32_MAX)) {
    throw Failure(error_number::kOverflow, "The player program is too large");
  }
  const auto playerSize = static_cast<std::int32_t>(playerBytes.size());
  const ShowHeader header =
      FillHeaderRecord(options, cipherState, static_cast<int>(slides.size()), playerSize);
  CheckPayloadFits(slides, options);
  workspace::WriteFileReplacing(target, [&](io::File& show) {
    show.Append(playerBytes);
    BuildPayload(slides, show, header, cipherState);
    show.Append(std::vector<std::uint8_t>{0});
    AppendHeaderTrailer(header, show);
    show.SetMode(0755 & ~platform::CurrentUmask());
  });
}

}  // namespace pivolane::format
