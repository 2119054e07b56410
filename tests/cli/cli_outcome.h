// keldovar-cli run in the test process: its exit status and what it wrote.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace keldovar::cli {

struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

inline Outcome cli(std::vector<std::string> args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  Outcome r;
  r.status = runCli(args, in, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace keldovar::cli
