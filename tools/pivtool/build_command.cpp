#include <filesystem>
#include <ostream>

#include "common/format/document.h"
#include "common/format/self_running.h"
#include "player/carried/carried_player.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/show_settings.h"

namespace pivolane::pivtool {

namespace fs = std::filesystem;

namespace {

// build OUT.exe --from DOC.pvl: the document's slides, options and password.
int BuildFromDocument(const fs::path& target, const fs::path& document, bool passwordGiven,
                      Streams io) {
  format::ShowFile show = format::ShowFile::Open(document, format::ShowFileKind::kDocument);
  cipher::CryptageXor cipherState{"", show.header().keyStart};
  if (show.HasPassword()) {
    if (!passwordGiven)
      throw UsageError(document.string() + " is protected: give --password-stdin");
    const std::optional<std::string> password = UnlockWithPasswordLine(show, io.in);
    if (!password) {
      io.err << "pivtool: " << document.string() << ": wrong password\n";
      return kWrongPassword;
    }
    cipherState.currentPassword = *password;
  }
  // Each picture goes from the document straight into the show: no
  // deciphered copy of it is ever written.
  const std::vector<format::SlideSource> slides = format::SlideSourcesOf(show);
  format::BuildSelfRunningShowFile(target, slides, format::OptionsFromHeader(show.header()),
                                   cipherState, CarriedPlayer());
  cipherState.DiscardPassword();
  io.out << target.string() << ": " << slides.size() << " slide(s) written\n";
  return kDone;
}

}  // namespace

int BuildCommand(Arguments args, Streams io) {
  const std::optional<std::string> from = args.TakeValue("--from");
  if (from) {
    const bool passwordGiven = args.TakeFlag("--password-stdin");
    const std::vector<std::string> operands = args.Operands();
    if (operands.size() != 1) throw UsageError("build --from needs exactly one OUT.exe");
    return BuildFromDocument(operands.front(), *from, passwordGiven, io);
  }
  ShowRequest request =
      TakeShowRequest(args, io.in, "build needs OUT.exe and at least one PICTURE");
  format::BuildSelfRunningShowFile(request.output, request.slides, request.settings.options,
                                   request.settings.cipherState, CarriedPlayer());
  request.settings.cipherState.DiscardPassword();
  io.out << request.output.string() << ": " << request.slides.size() << " slide(s) written\n";
  return kDone;
}

}  // namespace pivolane::pivtool
