#include <iostream>

#include "tools/pivtool/commands.h"

int main(int argc, char** argv) {
  return pivolane::pivtool::RunPivtool({argv + 1, argv + argc}, {std::cin, std::cout, std::cerr});
}
