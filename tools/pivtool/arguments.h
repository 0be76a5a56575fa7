// Command-line words of pivtool: options and operands, read in order.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pivolane::pivtool {

// A command line that does not fit its command: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Arguments {
 public:
  explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

  // True, and the option consumed, when the flag is present.
  bool TakeFlag(const std::string& name);
  // The value after the option, consumed; nullopt when absent.
  std::optional<std::string> TakeValue(const std::string& name);
  // A whole number in [low, high] after the option.
  std::optional<int> TakeNumber(const std::string& name, int low, int high);
  // What remains once the options are taken; an unknown option is an error.
  std::vector<std::string> Operands() const;

 private:
  std::vector<std::string> words_;
};

}  // namespace pivolane::pivtool
