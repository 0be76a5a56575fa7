#include "player/carried/carried_player.h"

#include <gtest/gtest.h>

#include "tests/common/test_support.h"

namespace pivolane {
namespace {

TEST(CarriedPlayer, HoldsExactlyTheBytesOfThePlayerProgram) {
  const testing::Bytes player = testing::ReadBytes(PIVPLAY_FILE);
  const std::span<const std::uint8_t> carried = CarriedPlayer();
  ASSERT_GT(player.size(), 100000u);
  ASSERT_EQ(carried.size(), player.size());
  EXPECT_TRUE(std::equal(carried.begin(), carried.end(), player.begin()));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(carried.data()) % 16, 0u);
}

}  // namespace
}  // namespace pivolane
