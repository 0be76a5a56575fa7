#include <iostream>

#include "common/workspace/end_cleanup.h"
#include "tools/pivtool/commands.h"

int main(int argc, char** argv) {
  pivolane::workspace::CleanUpAtAnyEnd();
  return pivolane::pivtool::RunPivtool({argv + 1, argv + argc}, {std::cin, std::cout, std::cerr});
}
