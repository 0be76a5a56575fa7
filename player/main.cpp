#include "player/player_main.h"

int main() {
  return pivolane::player::Main();
}
