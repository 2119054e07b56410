// Output files that appear only whole.
#include "forest/part_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "forest/manifest.h"
#include "forest/sqlite_results.h"

namespace keldovar::forest {

PartFile::PartFile(std::string path) : path_(std::move(path)) {
  file_ = std::fopen(partPath(path_).c_str(), "wb");
  if (file_ == nullptr) fail("cannot create", errno);
}

PartFile::~PartFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!committed_) std::remove(partPath(path_).c_str());
}

void PartFile::fail(const char* what, int error) {
  throw ForestError(std::string(what) + " " + partPath(path_) + ": " + std::strerror(error));
}

void PartFile::write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    fail("cannot write", errno);
}

void PartFile::commit() {
  if (std::fflush(file_) != 0 || ::fsync(fileno(file_)) != 0) fail("cannot write", errno);
  int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) fail("cannot write", errno);
  if (std::rename(partPath(path_).c_str(), path_.c_str()) != 0) fail("cannot rename", errno);
  committed_ = true;
}

}  // namespace keldovar::forest
