#include "common/update/version_digits.h"

#include <charconv>

#include "common/errors.h"
#include "common/version.h"

namespace pivolane::update {

std::string LocalVersionDigits() {
  return kVersionDigits;
}

std::uint64_t WholeNumber(std::string_view digits) {
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error == std::errc::result_out_of_range) throw Failure(error_number::kOverflow, "Overflow");
  const bool allDigits = digits.find_first_not_of("0123456789") == std::string_view::npos;
  if (digits.empty() || !allDigits || error != std::errc() ||
      end != digits.data() + digits.size()) {
    throw Failure(error_number::kTypeMismatch, "Type mismatch");
  }
  return number;
}

std::string FormatVersion(std::uint64_t number) {
  const std::uint64_t hundredths = number % 100;
  return std::to_string(number / 100) + (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths);
}

std::string VersionOfFileName(std::string_view name) {
  const std::size_t dot = name.find('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

}  // namespace pivolane::update
