// An output file written as NAME.part and put in place of NAME only once complete: a run that
// fails or is killed leaves the previous file as it was.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace keldovar::forest {

// Where text results go: a file or a stream. Throws ForestError when the bytes cannot go.
class TextOutput {
 public:
  virtual ~TextOutput() = default;
  virtual void write(std::string_view bytes) = 0;
};

class PartFile final : public TextOutput {
 public:
  // Throws ForestError when NAME.part cannot be created.
  explicit PartFile(std::string path);
  // Removes NAME.part unless committed.
  ~PartFile();
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  // Throws ForestError when the bytes cannot be written.
  void write(std::string_view bytes) override;
  // Flushes, syncs and renames NAME.part to NAME.
  void commit();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;

  [[noreturn]] void fail(const char* what, int error);
};

}  // namespace keldovar::forest
