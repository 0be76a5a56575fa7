// Prints the XOR cipher's master key as one line of hexadecimal digits, for
// the web page's build: the page takes the key from here, so that the
// programs' copy stays the only one.
#include <cstdio>

#include "common/cipher/master_key.h"

int main() {
  for (const std::uint8_t byte : pivolane::cipher::masterKey) std::printf("%02x", byte);
  std::printf("\n");
  return std::ferror(stdout) ? 1 : 0;
}
