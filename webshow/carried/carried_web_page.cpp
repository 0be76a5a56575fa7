#include "webshow/carried/carried_web_page.h"

// Defined by carried_web_page.S, which includes the built template file.
extern "C" const std::uint8_t pivolane_carried_web_page_begin[];
extern "C" const std::uint8_t pivolane_carried_web_page_end[];

namespace pivolane {

std::span<const std::uint8_t> CarriedWebPage() {
  return {pivolane_carried_web_page_begin, pivolane_carried_web_page_end};
}

}  // namespace pivolane
