// keldovar-cli: the batch runner.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::ios::sync_with_stdio(false);
  return keldovar::cli::runCli(args, std::cin, std::cout, std::cerr);
}
