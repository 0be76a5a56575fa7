// The exact bytes of the web page's template, built into the programs that
// write web shows: a web show is these bytes with the show's document, in
// base64, in place of the placeholder of their last data element.
#pragma once

#include <cstdint>
#include <span>

namespace pivolane {

std::span<const std::uint8_t> CarriedWebPage();

}  // namespace pivolane
