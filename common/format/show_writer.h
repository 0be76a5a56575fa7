// Writing a show: the payload (slide entries, then the pictures), the header
// record, and the trailer that ends every show file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <utility>

#include "common/cipher/cryptage_xor.h"
#include "common/cipher/strong_cipher.h"
#include "common/format/records.h"
#include "common/format/show_output.h"
#include "common/io/file.h"

namespace pivolane::format {

namespace fs = std::filesystem;

inline constexpr int kMaxSlides = 32767;

class ShowFile;

// The picture of slide index (0-based) of an open show that is readable
// (without password, or unlocked).
struct ShowPicture {
  ShowFile* show = nullptr;
  std::size_t index = 0;
};

// One slide to write: its title (UTF-8) and its picture: the file at file,
// unless fromShow names a picture of an open show, which is then read from
// that show (deciphered and checked) while it is written.
struct SlideSource {
  SlideSource() = default;
  SlideSource(std::string title, fs::path file) : title(std::move(title)), file(std::move(file)) {}
  SlideSource(std::string title, ShowPicture fromShow)
      : title(std::move(title)), fromShow(fromShow) {}

  std::string title;
  fs::path file;
  ShowPicture fromShow;
};

// The size of the picture of slide.
std::uint64_t PictureSizeOf(const SlideSource& slide);
// Hands the picture of slide to take in order, a piece at a time, whatever
// its source. A picture of a show that does not pass its check throws error
// 62 part way.
void ReadSlidePicture(const SlideSource& slide,
                      const std::function<void(std::span<const std::uint8_t>)>& take);

// The show-wide settings that the header record stores.
struct ShowOptions {
  int delaySeconds = 3;
  bool loop = false;
  bool random = false;
  bool titles = false;
  bool usePassword = false;
  std::uint8_t language = 1;  // 0 French, 1 English
  // With a password: the XOR cipher (1) or the sealed payload (2).
  std::int16_t cipherVersion = 1;
  // The cost of the key derivation of a sealed payload.
  cipher::KdfLimits kdfLimits = cipher::kDefaultKdfLimits;
};

// Checks that the slides fit the format (at most 32767 slides, a payload that
// the 32-bit offsets can address, as options lay it out) and returns the
// payload size. Throws a Failure (error 6) otherwise, before anything is
// written.
std::uint64_t CheckPayloadFits(std::span<const SlideSource> slides,
                               const ShowOptions& options = {});

// Writes the payload (the slide entries, then the pictures back to back) to
// out, streamed from the slides' pictures, protected as header says:
// plain, enciphered as one whole from its first byte (cipher version 1), or
// sealed (version 2) with a key derived from the password, which takes about
// as long as the limits in header ask. The password is cipherState's. No
// plain copy of the payload is ever written anywhere else. Checks the limits
// first (CheckPayloadFits).
void BuildPayload(std::span<const SlideSource> slides, ShowOutput& out, const ShowHeader& header,
                  const cipher::CryptageXor& cipherState);

// The header record of a show of slideCount slides. With the password option
// on, the cipher version of options decides the PasswordCheck field: the
// check value from the cipher state (version 1), or the parameters of the
// sealed payload with a new random salt and file id (version 2).
ShowHeader FillHeaderRecord(const ShowOptions& options, const cipher::CryptageXor& cipherState,
                            int slideCount, std::int32_t playerSize);

// Writes the 155 record bytes and one 0x00 byte to out.
void AppendHeaderTrailer(const ShowHeader& header, ShowOutput& out);

}  // namespace pivolane::format
