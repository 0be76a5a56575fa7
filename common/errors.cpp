#include "common/errors.h"

namespace pivolane {

void ThrowInvalidFile() {
  throw Failure(error_number::kInvalidFile, "Invalid file !");
}

void ThrowDamagedFile(const std::string& why) {
  throw Failure(error_number::kPastEndOfFile, "Damaged file: " + why);
}

}  // namespace pivolane
