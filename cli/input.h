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
// The same for a file only: `-` is a file of that name.
std::optional<std::string> readInputFile(const std::string& name, std::string& text);

// Why a file named on the command line is refused before anything runs: it exists and is not a
// regular file (a directory, FIFO or device, where a read could wait forever).
std::optional<std::string> refusedInput(const std::string& name);
// `option` names the option that gave the file.
std::optional<std::string> refusedOutput(const std::string& name, const char* option = "--out");

// A file named on the command line and the part it plays: "the script", "--out", ...
struct NamedFile {
  std::string role;
  std::string path;
};

// Why the outputs may not be written: one is the same file as an input or as another output
// (the same device and inode after links, or the same place when it does not exist yet), so
// that writing it would replace what the run reads or writes. Standard input (`-`) is no file.
std::optional<std::string> checkDistinctFiles(const std::vector<NamedFile>& inputs,
                                              const std::vector<NamedFile>& outputs);

}  // namespace keldovar::cli
