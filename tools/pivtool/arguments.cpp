#include "tools/pivtool/arguments.h"

#include <algorithm>
#include <charconv>

namespace pivolane::pivtool {

bool Arguments::TakeFlag(const std::string& name) {
  const auto it = std::find(words_.begin(), words_.end(), name);
  if (it == words_.end()) return false;
  words_.erase(it);
  return true;
}

std::optional<std::string> Arguments::TakeValue(const std::string& name) {
  const auto it = std::find(words_.begin(), words_.end(), name);
  if (it == words_.end()) return std::nullopt;
  if (it + 1 == words_.end()) throw UsageError(name + " needs a value");
  std::string value = *(it + 1);
  words_.erase(it, it + 2);
  return value;
}

std::optional<int> Arguments::TakeNumber(const std::string& name, int low, int high) {
  const std::optional<std::string> value = TakeValue(name);
  if (!value) return std::nullopt;
  int number = 0;
  const char* end = value->data() + value->size();
  const auto [ptr, ec] = std::from_chars(value->data(), end, number);
  if (ec != std::errc() || ptr != end || number < low || number > high) {
    throw UsageError(name + " takes a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + *value + "\"");
  }
  return number;
}

std::vector<std::string> Arguments::Operands() const {
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (const std::string& word : words_) {
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && word.starts_with("--")) {
      throw UsageError("unknown option " + word);
    } else {
      operands.push_back(word);
    }
  }
  return operands;
}

}  // namespace pivolane::pivtool
