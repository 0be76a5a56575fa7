// libFuzzer target: any bytes given as a slide picture, decoded and fitted as
// the player does, or read as the editor reads a JPEG before its toolkit
// decodes it (its limits, its EXIF orientation), must end in a picture or a refusal, never a crash,
// a leak, a read outside the buffer, or an allocation beyond the decode budget.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/picture/jpeg_decoder.h"
#include "common/picture/orientation.h"
#include "common/picture/slide_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pivolane::picture::DecodeBudget;
  const std::span<const std::uint8_t> bytes(data, size);
  // A full-screen frame, and a small one that makes every picture reduce.
  // With a deadline, as in the player, but a longer one for the slowness of
  // the sanitizers: what outlasts the fuzzer's timeout ignores its budget.
  for (const pivolane::playback::Size frame :
       {pivolane::playback::Size{1280, 800}, pivolane::playback::Size{24, 16}}) {
    pivolane::picture::DecodeFitted(
        bytes, frame, DecodeBudget(DecodeBudget::Clock::now() + std::chrono::seconds(5), nullptr));
  }
  pivolane::picture::JpegWithinDecodeLimits(bytes);
  pivolane::picture::JpegOrientation(bytes);
  return 0;
}
