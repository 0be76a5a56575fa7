#include "common/update/update_log.h"

#include <array>

#include "common/text/cp1252.h"

namespace pivolane::update {

std::string LogFileName(const std::tm& time) {
  std::array<char, 32> name{};
  const std::size_t length = std::strftime(name.data(), name.size(), "%d%m%y%H%M%S.txt", &time);
  return std::string(name.data(), length);
}

std::string LogContent(std::string_view identification, std::string_view localDigits,
                       bool installed, std::string_view internetDigits) {
  return text::ToCp1252Lossy(identification) + "\r\n" + std::string(localDigits) +
         (installed ? "+" : "-") + text::ToCp1252Lossy(internetDigits);
}

}  // namespace pivolane::update
