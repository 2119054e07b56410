// Reading scripts and checking the files named on the command line.
#include "cli/input.h"

#include <filesystem>
#include <system_error>

#include "app/safe_file.h"

namespace keldovar::cli {

std::optional<std::string> readScriptText(const std::string& name, const InputReader& standardInput,
                                          std::string& text) {
  std::vector<std::uint8_t> bytes;
  // One byte over the cap tells a script of exactly the cap from a longer one.
  int error = name == "-" ? standardInput(kScriptSizeLimit + 1, bytes)
                          : readFileContents(name, kScriptSizeLimit + 1, bytes);
  if (error != 0) return fileErrorText(error);
  if (bytes.size() > kScriptSizeLimit) return std::string("larger than 16 MB");
  text.assign(bytes.begin(), bytes.end());
  return std::nullopt;
}

std::optional<std::string> refusedInput(const std::string& name) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(name, error);
  if (name == "-" || !std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) {
    return std::nullopt;
  }
  return name + " is not a regular file";
}

std::optional<std::string> refusedOutput(const std::string& name, const char* option) {
  if (checkSaveTarget(name) != kNotRegularFile) return std::nullopt;
  return std::string(option) + " " + name + " is not a regular file (nor a symbolic link to one)";
}

}  // namespace keldovar::cli
