// What decoding one slide picture may cost, checked before any decoder
// allocates: the bytes it may hold at once, the time it may take, and a way
// for the player to call off work it no longer needs. Whatever a show holds,
// the player then stays within its memory and its time per slide.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace pivolane::picture {

// A slide's stored picture, read into memory to be decoded.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{64} << 20;
// Everything one decoder holds at once: its output pixels and its own
// working memory (a progressive JPEG's coefficients, say).
inline constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t{96} << 20;
// The time one picture may take to decode and fit, leaving the rest of the
// two seconds a slide may take to reading and showing it.
inline constexpr std::chrono::milliseconds kMaxDecodeTime{1500};

class DecodeBudget {
 public:
  using Clock = std::chrono::steady_clock;

  // Without a deadline and never called off: for tools and tests.
  DecodeBudget() = default;
  // Runs out at deadline, or as soon as *calledOff becomes true.
  DecodeBudget(Clock::time_point deadline, const std::atomic<bool>* calledOff)
      : deadline_(deadline), calledOff_(calledOff) {}
  // kMaxDecodeTime from now.
  static DecodeBudget FromNow(const std::atomic<bool>* calledOff = nullptr);

  // Decoders ask this between rows and give up once it is true.
  bool Exhausted() const;

  // Whether a buffer of count items of itemBytes each stays within
  // kMaxDecodeBytes once reserved bytes are taken; never overflows.
  static bool Fits(std::uint64_t count, std::uint64_t itemBytes, std::uint64_t reserved = 0);

 private:
  Clock::time_point deadline_ = Clock::time_point::max();
  const std::atomic<bool>* calledOff_ = nullptr;
};

}  // namespace pivolane::picture
