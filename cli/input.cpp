// Reading scripts and checking the files named on the command line.
#include "cli/input.h"

#include <filesystem>
#include <system_error>

#include "app/safe_file.h"

namespace keldovar::cli {

namespace {

namespace fs = std::filesystem;

std::optional<std::string> readText(const std::string& name, const InputReader* standardInput,
                                    std::string& text) {
  std::vector<std::uint8_t> bytes;
  // One byte over the cap tells a file of exactly the cap from a longer one.
  int error = standardInput != nullptr ? (*standardInput)(kScriptSizeLimit + 1, bytes)
                                       : readFileContents(name, kScriptSizeLimit + 1, bytes);
  if (error != 0) return fileErrorText(error);
  if (bytes.size() > kScriptSizeLimit) return std::string("larger than 16 MB");
  text.assign(bytes.begin(), bytes.end());
  return std::nullopt;
}

// The place a name reaches: links resolved as far as they lead to something that exists.
fs::path placeOf(const std::string& name) {
  std::error_code error;
  fs::path place = fs::weakly_canonical(fs::absolute(name, error), error);
  return error ? fs::path() : place;
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  fs::path placeA = placeOf(a);
  return !placeA.empty() && placeA == placeOf(b);
}

}  // namespace

std::optional<std::string> readScriptText(const std::string& name, const InputReader& standardInput,
                                          std::string& text) {
  return readText(name, name == "-" ? &standardInput : nullptr, text);
}

std::optional<std::string> readInputFile(const std::string& name, std::string& text) {
  return readText(name, nullptr, text);
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

std::optional<std::string> checkDistinctFiles(const std::vector<NamedFile>& inputs,
                                              const std::vector<NamedFile>& outputs) {
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const NamedFile& output = outputs[i];
    std::vector<const NamedFile*> others;
    for (const NamedFile& input : inputs) {
      if (input.path != "-") others.push_back(&input);
    }
    for (std::size_t j = 0; j < i; ++j) others.push_back(&outputs[j]);
    for (const NamedFile* other : others) {
      if (sameFile(output.path, other->path)) {
        return output.role + " " + output.path + " is the same file as " + other->role + " " +
               other->path;
      }
    }
  }
  return std::nullopt;
}

}  // namespace keldovar::cli
