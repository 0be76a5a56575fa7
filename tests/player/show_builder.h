// Self-running shows for the player's tests, built by the core's builder from
// any player bytes, with or without a password.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/format/show_writer.h"

namespace pivolane::test_shows {

struct ShowContents {
  std::vector<format::SlideSource> slides;
  format::ShowOptions options;
  std::optional<std::string> password;  // UTF-8
};

void BuildShow(const std::filesystem::path& path, std::span<const std::uint8_t> playerBytes,
               const ShowContents& contents);

}  // namespace pivolane::test_shows
