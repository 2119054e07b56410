// The batch runner's one reader of outside text: regular files and standard input only, a size
// cap, and the system's reason when a read fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace keldovar::cli {

// No regime script comes near this; the zero device or a stray data file must not fill memory.
inline constexpr std::size_t kScriptSizeLimit = std::size_t{16} << 20;

// Reads at most `limit` bytes of standard input; returns 0 or the error number.
using InputReader = std::function<int(std::size_t limit, std::vector<std::uint8_t>& bytes)>;

// The script named on the command line (`-`: standard input) into `text`; else the reason it
// cannot be read, such as "Is a directory" or "larger than 16 MB".
std::optional<std::string> readScriptText(const std::string& name, const InputReader& standardInput,
                                          std::string& text);

// Why a file named on the command line is refused before anything runs: it exists and is not a
// regular file (a directory, FIFO or device, where a read could wait forever).
std::optional<std::string> refusedInput(const std::string& name);
std::optional<std::string> refusedOutput(const std::string& name, const char* option = "--out");

}  // namespace keldovar::cli
