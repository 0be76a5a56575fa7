// The reason an update is refused: a signature, a manifest or a downloaded
// file that does not prove to come from the publisher. The description is
// for the journal of the update window.
#pragma once

#include <stdexcept>
#include <string>

namespace pivolane::update {

class Refusal : public std::runtime_error {
 public:
  explicit Refusal(const std::string& why) : std::runtime_error(why) {}
};

}  // namespace pivolane::update
