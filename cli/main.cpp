// keldovar-cli: the batch runner.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/safe_file.h"
#include "cli/command_line.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Each document's tables are freed when its script ends and the next one's are allocated: with
// the heap's top given back every time, every page is faulted in again, a fifth of a batch's time.
constexpr int kHeapTopPad = 1 << 20;

}  // namespace

int main(int argc, char** argv) {
  // Nothing may escape as an abort: the reason is printed and the status tells it apart.
  try {
#if defined(__GLIBC__)
    mallopt(M_TOP_PAD, kHeapTopPad);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    std::ios::sync_with_stdio(false);
    return keldovar::cli::runCli(args, keldovar::readStandardInput, std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "keldovar-cli: internal error: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "keldovar-cli: internal error\n";
  }
  return keldovar::cli::kExitInternal;
}
