#include <filesystem>
#include <ostream>

#include "common/format/document.h"
#include "common/format/show_forms.h"
#include "player/carried/carried_player.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/show_settings.h"
#include "webshow/carried/carried_web_page.h"

namespace pivolane::pivtool {

namespace fs = std::filesystem;

namespace {

// The show at target in the form its name asks for: a name ending in ".html"
// or ".htm" builds the web page, any other the program.
void BuildShow(const fs::path& target, const std::vector<format::SlideSource>& slides,
               const format::ShowOptions& options, const cipher::CryptageXor& cipherState) {
  format::BuildShowFile(target, format::FormOfName(target.filename().string()), slides, options,
                        cipherState, {CarriedPlayer(), CarriedWebPage()});
}

// build OUT --from DOC.pvl: the document's slides, options and password.
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
  BuildShow(target, slides, format::OptionsFromHeader(show.header()), cipherState);
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
    if (operands.size() != 1) throw UsageError("build --from needs exactly one OUT");
    return BuildFromDocument(operands.front(), *from, passwordGiven, io);
  }
  ShowRequest request = TakeShowRequest(args, io.in, "build needs OUT and at least one PICTURE");
  BuildShow(request.output, request.slides, request.settings.options, request.settings.cipherState);
  request.settings.cipherState.DiscardPassword();
  io.out << request.output.string() << ": " << request.slides.size() << " slide(s) written\n";
  return kDone;
}

}  // namespace pivolane::pivtool
