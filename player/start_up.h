// The player's start-up: finding the show at the end of its own file, the
// password gate, and reading one slide's picture. The show is read in place,
// straight from the player's own file: no deciphered copy of it is written.
// Dialogs and message boxes are reached through StartUpPrompts, so this code
// holds no toolkit code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/format/records.h"
#include "common/format/show_file.h"

namespace pivolane::player {

// The program-wide state of the player, set during start-up.
struct PlayerState {
  std::optional<format::ShowFile> show;  // the player's own file
  int SlideCount = 0;
  bool LoopOn = false;
  bool RandomOn = false;
  bool TitlesOn = false;
  std::uint8_t Language = 0;
  bool HasPassword = false;
  std::int64_t timerIntervalMs = 0;
  format::SlideEntry CurrentEntry;  // the slide being shown
};

enum class MessageIcon { kNone, kCritical };

// What start-up needs of the user.
class StartUpPrompts {
 public:
  virtual ~StartUpPrompts() = default;
  // The password dialog frmLoginAuto: the typed password (UTF-8) when
  // PasswordTyped, nullopt when the user cancelled or typed nothing.
  virtual std::optional<std::string> AskPassword(std::uint8_t language) = 0;
  // A message box titled with the application title, with an OK button.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // Runs work, a long step after the password dialog has closed (the key
  // derivation of a strongly enciphered show), while the user sees that the
  // player is working. Failures of work pass through.
  virtual void RunShowingWork(const std::function<void()>& work, std::uint8_t /*language*/) {
    work();
  }
};

enum class StartOutcome {
  kPlay,           // the show is readable: open the playback window
  kCancelled,      // the password dialog was left without a password
  kInvalidFile,    // "Invalid file !" has been shown
  kWrongPassword,  // the wrong-password message has been shown
};

// The show at the end of the file at path: its trailer read and checked
// (tag, and a player size inside the file). nullopt when it is no show.
std::optional<format::ShowFile> ReadHeader(const std::filesystem::path& path);

// Everything up to the playback window: the show, its settings, and for a
// show with a password the dialog and the check of the password (one attempt).
// A show enciphered in a way this player does not know is refused before
// the password is asked. Every slide entry is checked before the show
// starts; a damaged or hostile show is an invalid file.
StartOutcome PrepareShow(PlayerState& state, const std::filesystem::path& selfPath,
                         StartUpPrompts& prompts);

struct SlideData {
  format::SlideEntry entry;
  std::vector<std::uint8_t> picture;  // deciphered
};

// Entry slideNumber (1-based) and its picture. A picture larger than the
// player decodes (picture::kMaxPictureBytes), or one that cannot be read
// whole and sound, comes back empty, which no decoder takes; its entry is
// there all the same.
SlideData ExtractSlide(format::ShowFile& show, int slideNumber);

}  // namespace pivolane::player
