#include <filesystem>
#include <ostream>

#include "common/format/document.h"
#include "player/carried/carried_player.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/show_settings.h"

namespace pivolane::pivtool {

namespace fs = std::filesystem;

int CreateCommand(Arguments args, Streams io) {
  ShowSettings settings = TakeShowSettings(args, io.in);
  const std::vector<std::string> operands = args.Operands();
  if (operands.size() < 2) throw UsageError("create needs OUT.pvl and at least one PICTURE");

  std::vector<format::SlideSource> slides;
  for (auto it = operands.begin() + 1; it != operands.end(); ++it) {
    slides.push_back({fs::path(*it).filename().string(), fs::path(*it)});
  }
  format::SaveDocumentFile(operands.front(), slides, settings.options, settings.cipherState,
                           static_cast<std::int32_t>(CarriedPlayer().size()));
  settings.cipherState.DiscardPassword();
  io.out << operands.front() << ": " << slides.size() << " slide(s) written\n";
  return kDone;
}

}  // namespace pivolane::pivtool
