#include "tools/pivtool/carried_player_size.h"

namespace pivolane::pivtool {

std::int32_t CarriedPlayerSize() {
  return 0;
}

}  // namespace pivolane::pivtool
