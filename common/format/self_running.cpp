#include "common/format/self_running.h"

#include <algorithm>
#include <cctype>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/workspace/workspace.h"

namespace pivolane::format {

std::string WithExeExtension(const std::string& name) {
  std::string ending = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".exe" ? name : name + ".exe";
}

std::int32_t CarriedPlayerSize(std::span<const std::uint8_t> playerBytes) {
  if (playerBytes.size() > static_cast<std::size_t>(INT32_MAX)) {
    throw Failure(error_number::kOverflow, "The player program is too large");
  }
  return static_cast<std::int32_t>(playerBytes.size());
}

void BuildSelfRunningShowFile(const fs::path& target, const std::vector<SlideSource>& slides,
                              const ShowOptions& options, const cipher::CryptageXor& cipherState,
                              std::span<const std::uint8_t> playerBytes) {
  const ShowHeader header = FillHeaderRecord(options, cipherState, static_cast<int>(slides.size()),
                                             CarriedPlayerSize(playerBytes));
  CheckPayloadFits(slides, options);
  workspace::WriteFileReplacing(target, [&](io::File& show) {
    show.Append(playerBytes);
    FileEnd out(show);
    BuildPayload(slides, out, header, cipherState);
    out.Write(std::vector<std::uint8_t>{0});
    AppendHeaderTrailer(header, out);
    // Executable wherever readable, as a compiler makes programs: a new show
    // 0777 less the umask, a replaced one with that file's permissions.
    const unsigned mode = show.Mode();
    show.SetMode(mode | ((mode & 0444) >> 2));
  });
}

}  // namespace pivolane::format
