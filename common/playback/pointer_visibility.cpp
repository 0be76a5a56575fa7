#include "common/playback/pointer_visibility.h"

namespace pivolane::playback {

PointerShape PointerVisibility::Moved() {
  hidden_ = false;
  return Shape();
}

PointerShape PointerVisibility::Idle() {
  hidden_ = true;
  return Shape();
}

PointerShape PointerVisibility::SetBusy(bool busy) {
  busy_ = busy;
  return Shape();
}

PointerShape PointerVisibility::Shape() const {
  if (hidden_) return PointerShape::kHidden;
  return busy_ ? PointerShape::kBusy : PointerShape::kNormal;
}

}  // namespace pivolane::playback
