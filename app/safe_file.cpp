// Atomic replacement of a file: POSIX calls where they exist, the standard library elsewhere.
#include "app/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace keldovar {
namespace {

namespace fs = std::filesystem;

std::uint64_t randomTag() {
  try {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
  } catch (const std::exception&) {
    return 0;  // the attempt number still tells the names apart
  }
}

std::string temporaryName(const fs::path& target, std::uint64_t tag) {
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(tag));
  fs::path temp = target;
  temp.replace_filename(target.filename().string() + ".tmp-" + text);
  return temp.string();
}

fs::path resolved(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    fs::path target = fs::weakly_canonical(path, error);
    if (!error) return target;
  }
  return path;
}

#ifndef _WIN32

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;  // no progress and no error: give up rather than spin
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A new file beside the target, so that the final rename never crosses file systems.
int createTemporary(const fs::path& target, std::string& name) {
  std::uint64_t base = randomTag() ^ static_cast<std::uint64_t>(::getpid());
  for (std::uint64_t attempt = 0; attempt < 64; ++attempt) {
    name = temporaryName(target, base + attempt);
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the rename itself durable; the new file is complete whether or not this succeeds.
void syncFolder(const fs::path& target) {
  fs::path folder = target.parent_path();
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
  fs::path target = resolved(path);
  std::string temp;
  int fd = createTemporary(target, temp);
  if (fd < 0) return errno;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);  // a failure here only loses the old permissions
  }
  bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && ::rename(temp.c_str(), target.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temp.c_str());
    return error != 0 ? error : EIO;
  }
  syncFolder(target);
  return 0;
}

int readFileContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) {
    bytes.reserve(std::min(static_cast<std::size_t>(info.st_size), limit));
  }
  int error = 0;
  while (bytes.size() < limit) {
    std::size_t old = bytes.size();
    bytes.resize(std::min(old + (std::size_t{1} << 16), limit));
    ssize_t n = ::read(fd, bytes.data() + old, bytes.size() - old);
    bytes.resize(old + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
  }
  ::close(fd);
  return error;
}

#else  // Windows: the standard library's rename replaces an existing file.

}  // namespace

int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
  fs::path target = resolved(path);
  std::string temp = temporaryName(target, randomTag());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temp, ignored);
      return EIO;
    }
  }
  std::error_code error;
  fs::rename(temp, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return error.value() != 0 ? error.value() : EIO;
  }
  return 0;
}

int readFileContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ENOENT;
  bytes.resize(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return in.bad() ? EIO : 0;
}

#endif

}  // namespace keldovar
