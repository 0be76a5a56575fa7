// Version digits: major, minor and revision written one after the other
// ("101" for 1.0.1), compared as whole numbers and shown as "1.01".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pivolane::update {

// The running program's own digits.
std::string LocalVersionDigits();

// Decimal digits as a whole number. Throws a Failure when they are not digits
// (13) or too large (6).
std::uint64_t WholeNumber(std::string_view digits);

// A "." before the last two digits: 101 gives "1.01", 5 gives "0.05".
std::string FormatVersion(std::uint64_t number);

// The digits of a version file's name: what follows its first ".".
std::string VersionOfFileName(std::string_view name);

}  // namespace pivolane::update
