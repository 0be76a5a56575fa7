#include <filesystem>
#include <ostream>

#include "common/format/document.h"
#include "player/carried/carried_player.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/show_settings.h"

namespace pivolane::pivtool {

int CreateCommand(Arguments args, Streams io) {
  ShowRequest request =
      TakeShowRequest(args, io.in, "create needs OUT.pvl and at least one PICTURE");
  format::SaveDocumentFile(request.output, request.slides, request.settings.options,
                           request.settings.cipherState,
                           static_cast<std::int32_t>(CarriedPlayer().size()));
  request.settings.cipherState.DiscardPassword();
  io.out << request.output.string() << ": " << request.slides.size() << " slide(s) written\n";
  return kDone;
}

}  // namespace pivolane::pivtool
