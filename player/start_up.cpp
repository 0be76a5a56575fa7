#include "player/start_up.h"

#include "common/cipher/password.h"
#include "common/cipher/strong_cipher.h"
#include "common/errors.h"
#include "common/format/payload_layout.h"
#include "common/picture/decode_budget.h"
#include "common/playback/playback.h"
#include "player/player_texts.h"

namespace pivolane::player {

namespace {

void TakeSettings(PlayerState& state) {
  const format::ShowHeader& header = state.show->header();
  state.TitlesOn = header.TitlesFlag != format::kFalse;
  state.RandomOn = header.RandomFlag != format::kFalse;
  state.LoopOn = header.LoopFlag != format::kFalse;
  state.SlideCount = header.SlideCount;
  state.Language = header.Language;
  state.timerIntervalMs = playback::TimerIntervalForDelay(header.DelaySeconds);
  state.HasPassword = header.HasPassword();
}

// Wipes the typed password before letting it go.
void Discard(std::string& password) {
  cipher::Wipe(password);
}

// One attempt: true when the typed password opens the show. The key
// derivation of a strongly enciphered show runs while the user sees the
// player working.
bool PasswordOpens(format::ShowFile& show, std::string typed, StartUpPrompts& prompts,
                   std::uint8_t language) {
  std::optional<std::string> encoded = cipher::EncodeTypedPassword(typed);
  Discard(typed);
  if (!encoded) return false;  // no show can have this password
  bool opens = false;
  const auto unlock = [&] { opens = show.Unlock(*encoded); };
  try {
    if (format::PayloadLayout::Of(show.header()).sealed) {
      prompts.RunShowingWork(unlock, language);
    } else {
      unlock();
    }
  } catch (...) {
    Discard(*encoded);
    throw;
  }
  Discard(*encoded);
  return opens;
}

}  // namespace

std::optional<format::ShowFile> ReadHeader(const std::filesystem::path& path) {
  try {
    return format::ShowFile::Open(path, format::ShowFileKind::kSelfRunning);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

StartOutcome PrepareShow(PlayerState& state, const std::filesystem::path& selfPath,
                         StartUpPrompts& prompts) {
  const auto invalid = [&] {
    prompts.ShowMessage(kInvalidFileText, MessageIcon::kNone);
    return StartOutcome::kInvalidFile;
  };
  state.show = ReadHeader(selfPath);
  if (!state.show) return invalid();
  TakeSettings(state);
  try {
    if (state.HasPassword) {
      state.show->CheckProtection();  // a cipher it cannot read is refused before the password
      std::optional<std::string> typed = prompts.AskPassword(state.Language);
      if (!typed) return StartOutcome::kCancelled;
      if (!PasswordOpens(*state.show, std::move(*typed), prompts, state.Language)) {
        prompts.ShowMessage(TextsFor(state.Language).wrongPassword, MessageIcon::kCritical);
        return StartOutcome::kWrongPassword;
      }
    }
    state.show->Entries();  // checks every entry against the slide data
  } catch (const Failure&) {
    // A newer cipher scheme, hostile key derivation limits, or entries that
    // point outside the slide data.
    return invalid();
  }
  return StartOutcome::kPlay;
}

SlideData ExtractSlide(format::ShowFile& show, int slideNumber) {
  const auto index = static_cast<std::size_t>(slideNumber - 1);
  SlideData slide{show.Entries().at(index), {}};
  if (static_cast<std::uint32_t>(slide.entry.PictureSize) > picture::kMaxPictureBytes) return slide;
  try {
    slide.picture = show.ReadPicture(index);
  } catch (const Failure&) {
    // Damaged (a strong show's picture that fails its check, say): a bad
    // picture, still captioned with its title.
  }
  return slide;
}

}  // namespace pivolane::player
