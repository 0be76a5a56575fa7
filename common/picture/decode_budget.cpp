#include "common/picture/decode_budget.h"

namespace pivolane::picture {

DecodeBudget DecodeBudget::FromNow(const std::atomic<bool>* calledOff) {
  return DecodeBudget(Clock::now() + kMaxDecodeTime, calledOff);
}

bool DecodeBudget::Exhausted() const {
  if (calledOff_ != nullptr && calledOff_->load(std::memory_order_relaxed)) return true;
  return deadline_ != Clock::time_point::max() && Clock::now() >= deadline_;
}

bool DecodeBudget::Fits(std::uint64_t count, std::uint64_t itemBytes, std::uint64_t reserved) {
  if (reserved > kMaxDecodeBytes) return false;
  const std::uint64_t room = kMaxDecodeBytes - reserved;
  return itemBytes == 0 || count <= room / itemBytes;
}

}  // namespace pivolane::picture
