#include "player/carried/carried_player.h"

// Defined by carried_player.S, which includes the built player file.
extern "C" const std::uint8_t pivolane_carried_player_begin[];
extern "C" const std::uint8_t pivolane_carried_player_end[];

namespace pivolane {

std::span<const std::uint8_t> CarriedPlayer() {
  return {pivolane_carried_player_begin, pivolane_carried_player_end};
}

}  // namespace pivolane
