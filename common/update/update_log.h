// The log of an update run that the update client leaves on the server.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace pivolane::update {

// "ddmmyyhhmmss.txt" of a local time, hours 00 to 23.
std::string LogFileName(const std::tm& time);

// The installation's identification line, CR LF, the local digits, "+" when
// the run installed an update or "-", then the server's digits; code page
// 1252, no terminator.
std::string LogContent(std::string_view identification, std::string_view localDigits,
                       bool installed, std::string_view internetDigits);

}  // namespace pivolane::update
