#include <ostream>

#include "common/format/payload_layout.h"
#include "common/format/sealed_payload.h"
#include "common/format/show_file.h"
#include "common/text/cp1252.h"
#include "tools/pivtool/commands.h"
#include "tools/pivtool/printable.h"

namespace pivolane::pivtool {

namespace {

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

const char* KindName(format::ShowFileKind kind) {
  switch (kind) {
    case format::ShowFileKind::kDocument:
      return "document";
    case format::ShowFileKind::kSelfRunning:
      return "self-running";
    case format::ShowFileKind::kWebShow:
      return "web show";
  }
  return "";
}

std::string LanguageName(std::uint8_t language) {
  if (language == 0) return "fr";
  if (language == 1) return "en";
  return std::to_string(language);
}

void PrintHeader(const format::ShowFile& show, std::ostream& out) {
  const format::ShowHeader& h = show.header();
  out << "kind: " << KindName(show.kind()) << "\n"
      << "version tag: "
      << Printable(text::FromCp1252(std::string_view(h.VersionTag.data(), h.VersionTag.size())))
      << "\n"
      << "delay: " << h.DelaySeconds << "\n"
      << "slides: " << h.SlideCount << "\n"
      << "key start: " << static_cast<int>(h.keyStart) << "\n"
      << "loop: " << YesNo(h.LoopFlag != 0) << "\n"
      << "random: " << YesNo(h.RandomFlag != 0) << "\n"
      << "titles: " << YesNo(h.TitlesFlag != 0) << "\n"
      << "password: " << YesNo(h.HasPassword()) << "\n"
      << "player size: " << h.PlayerSize << "\n"
      << "language: " << LanguageName(h.Language) << "\n"
      << "cipher version: " << h.CipherVersion << "\n";
  if (format::PayloadLayout::Of(h).sealed) {
    // As stored: info also describes a show that it would refuse to open.
    const cipher::KdfLimits limits = format::SealedParameters::Parse(h.PasswordCheck).limits;
    out << "key derivation: Argon2id, " << limits.passes << " passes, "
        << (limits.memoryBytes >> 10) << " KiB\n";
  }
}

}  // namespace

int InfoCommand(Arguments args, Streams io) {
  const bool passwordGiven = args.TakeFlag("--password-stdin");
  const std::vector<std::string> operands = args.Operands();
  if (operands.size() != 1) throw UsageError("info needs exactly one FILE");

  format::ShowFile show = format::ShowFile::Open(operands.front());
  PrintHeader(show, io.out);
  if (show.HasPassword()) {
    if (!passwordGiven) {
      io.out << "slide list: enciphered (give the password with --password-stdin to list it)\n";
      return kDone;
    }
    if (!UnlockWithPasswordLine(show, io.in)) {
      io.err << "pivtool: " << operands.front() << ": wrong password\n";
      return kWrongPassword;
    }
  }
  const std::vector<format::SlideEntry>& entries = show.Entries();
  for (std::size_t k = 0; k < entries.size(); ++k) {
    io.out << "slide " << k + 1 << ": size " << entries[k].PictureSize << ", offset "
           << entries[k].PictureOffset << ", title "
           << Printable(text::FromCp1252(entries[k].TrimmedTitle())) << "\n";
  }
  return kDone;
}

}  // namespace pivolane::pivtool
