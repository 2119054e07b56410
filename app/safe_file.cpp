// Atomic replacement of a file: POSIX calls where they exist, the standard library elsewhere.
#include "app/safe_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#endif

namespace keldovar {
namespace {

namespace fs = std::filesystem;

// Temporary files are ".keldovar-" + 8 hex digits + ".tmp": short enough for any folder that
// holds the target, and recognisable when a killed save left one behind.
constexpr const char* kTemporaryPrefix = ".keldovar-";
constexpr const char* kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryTagDigits = 8;
// Earlier versions named the temporary file after the target: NAME + ".tmp-" + 16 hex digits.
constexpr const char* kOldTemporaryMark = ".tmp-";
constexpr std::size_t kOldTemporaryTagDigits = 16;
constexpr int kNameAttempts = 64;
constexpr std::size_t kReadChunk = std::size_t{1} << 16;

std::uint64_t randomTag() {
  try {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
  } catch (const std::exception&) {
    return 0;  // the attempt number still tells the names apart
  }
}

bool hexDigits(std::string_view text, std::size_t count) {
  return text.size() == count && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

bool isTemporaryName(std::string_view name, std::string_view targetName) {
  std::string_view prefix = kTemporaryPrefix, suffix = kTemporarySuffix;
  if (name.size() == prefix.size() + kTemporaryTagDigits + suffix.size() &&
      name.starts_with(prefix) && name.ends_with(suffix)) {
    return hexDigits(name.substr(prefix.size(), kTemporaryTagDigits), kTemporaryTagDigits);
  }
  std::string old = std::string(targetName) + kOldTemporaryMark;
  return name.starts_with(old) && hexDigits(name.substr(old.size()), kOldTemporaryTagDigits);
}

std::string temporaryName(std::uint64_t tag) {
  char text[kTemporaryTagDigits + 1];
  std::snprintf(text, sizeof text, "%08llx", static_cast<unsigned long long>(tag & 0xffffffffu));
  return std::string(kTemporaryPrefix) + text + kTemporarySuffix;
}

}  // namespace

std::string fileErrorText(int error) {
  if (error == kNotRegularFile) return "Not a regular file";
  return std::generic_category().message(error);
}

#ifndef _WIN32

namespace {

constexpr std::size_t kPendingPathCapacity = 4096;

// Where the save that owns the pending entry stands. Any thread may take the signal, the saving
// one or another, so the handler and the save agree through one lock-free word: the handler
// marks the program as stopping, and whoever comes second removes the file and ends it.
enum PendingState : int {
  kIdle = 0,
  kCreating = 1,  // the file may exist already, its name is not yet in place
  kArmed = 2,     // the file exists under the name in `path`
  kStopping = 4,  // a signal came: the program ends
};

// The one temporary file that SIGINT or SIGTERM must remove. A signal handler reaches nothing
// but static storage, so this is the only state outside any object; one save uses it at a time.
struct PendingTemporary {
  char path[kPendingPathCapacity];
  std::atomic<int> state;
  std::atomic<int> signal;
};
static_assert(std::atomic<int>::is_always_lock_free, "read and written by a signal handler");
PendingTemporary pendingTemporary{};
std::atomic<bool> signalsTaken{false};

void stopWith(int signal) {
  ::signal(signal, SIG_DFL);
  ::raise(signal);  // delivered once the handler returns or the signal is unblocked
}

extern "C" void removeTemporaryAndStop(int signal) {
  pendingTemporary.signal.store(signal);
  int stage = pendingTemporary.state.fetch_or(kStopping) & ~kStopping;
  // The saving thread is creating its file: it removes the file and ends the program itself.
  if (stage == kCreating) return;
  if (stage == kArmed) ::unlink(pendingTemporary.path);
  stopWith(signal);
}

// Blocks SIGINT and SIGTERM for its lifetime, so that the file and its pending entry change
// together.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// For the length of one save, SIGINT and SIGTERM remove its temporary file before the program
// ends. Only signals left at their default action are taken over: a program with handlers of
// its own decides itself, and a save that finishes leaves nothing behind anyway.
class SignalCleanup {
 public:
  SignalCleanup() : owner_(!signalsTaken.exchange(true)) {
    // A program that is ending keeps the default action, which a handler has put back.
    if (!owner_ || (pendingTemporary.state.load() & kStopping) != 0) return;
    take(SIGINT, oldInt_, tookInt_);
    take(SIGTERM, oldTerm_, tookTerm_);
  }
  ~SignalCleanup() {
    if (!owner_) return;
    disarm();
    if (tookInt_) ::sigaction(SIGINT, &oldInt_, nullptr);
    if (tookTerm_) ::sigaction(SIGTERM, &oldTerm_, nullptr);
    signalsTaken.store(false);
  }
  SignalCleanup(const SignalCleanup&) = delete;
  SignalCleanup& operator=(const SignalCleanup&) = delete;

  // The calls below are made with the signals held. Before the file is created: false when a
  // signal has come and the program is ending, so that no file is created.
  bool beginCreating() {
    if (!owner_) return true;
    int idle = kIdle;
    return pendingTemporary.state.compare_exchange_strong(idle, kCreating);
  }
  // After the attempt: `path` names the file when it was created, and is empty otherwise.
  void endCreating(const std::string& path) {
    if (!owner_) return;
    bool named = !path.empty() && path.size() < kPendingPathCapacity;
    if (named) std::memcpy(pendingTemporary.path, path.c_str(), path.size() + 1);
    int creating = kCreating;
    if (pendingTemporary.state.compare_exchange_strong(creating, named ? kArmed : kIdle)) return;
    // A signal came meanwhile, and its handler left the file and the end to this thread: the
    // signal is delivered as soon as this thread lets it through.
    if (!path.empty()) ::unlink(path.c_str());
    pendingTemporary.state.store(kStopping);
    stopWith(pendingTemporary.signal.load());
  }
  void disarm() {
    if (!owner_) return;
    // After a signal the handler has removed the file and is ending the program.
    int armed = kArmed;
    pendingTemporary.state.compare_exchange_strong(armed, kIdle);
  }

 private:
  static void take(int signal, struct sigaction& old, bool& took) {
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndStop;
    sigemptyset(&action.sa_mask);
    took = ::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_DFL &&
           (old.sa_flags & SA_SIGINFO) == 0 && ::sigaction(signal, &action, nullptr) == 0;
  }

  bool owner_;
  struct sigaction oldInt_ {
  }, oldTerm_{};
  bool tookInt_ = false, tookTerm_ = false;
};

bool sameFile(int fd, int folder, const char* name) {
  struct stat open {
  }, named{};
  return ::fstat(fd, &open) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// A temporary file is in use exactly while its save holds a lock on it, so one whose lock can
// be taken was left by a process that ended.
void removeIfStale(int folder, const char* name) {
  int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      sameFile(fd, folder, name)) {
    ::unlinkat(folder, name, 0);
  }
  ::close(fd);
}

void removeStaleTemporaries(const std::string& folder, const std::string& targetName) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(dir)) {
    if (isTemporaryName(entry->d_name, targetName)) stale.emplace_back(entry->d_name);
  }
  for (const std::string& name : stale) removeIfStale(::dirfd(dir), name.c_str());
  ::closedir(dir);
}

struct SaveTarget {
  std::string path;    // the file to replace: the link's target for a symbolic link
  std::string folder;  // its folder, where the temporary file goes
  std::string name;    // its name within the folder
};

int resolveTarget(const std::string& path, SaveTarget& target) {
  if (int error = checkSaveTarget(path); error != 0) return error;
  target.path = path;
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return errno;
    target.path = real;
    std::free(real);
  }
  std::size_t slash = target.path.rfind('/');
  target.folder =
      slash == std::string::npos ? "." : target.path.substr(0, std::max<std::size_t>(slash, 1));
  target.name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
  return 0;
}

// A new, locked file beside the target, so that the final rename never crosses file systems.
int createTemporary(const SaveTarget& target, SignalCleanup& cleanup, std::string& temp) {
  std::uint64_t base = randomTag() ^ static_cast<std::uint64_t>(::getpid());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temp = target.folder + "/" + temporaryName(base + static_cast<std::uint64_t>(attempt));
    int fd = -1, error = EINTR;
    {
      SignalsHeld held;
      if (cleanup.beginCreating()) {
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = errno;
        cleanup.endCreating(fd >= 0 ? temp : std::string());
      }
    }
    if (fd < 0 && error == EEXIST) continue;
    if (fd < 0) {
      errno = error;
      return -1;
    }
    // A cleaner may have taken the new file for a stale one before the lock was on it.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, AT_FDCWD, temp.c_str())) return fd;
    cleanup.disarm();
    ::close(fd);
  }
  errno = EEXIST;
  return -1;
}

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

// Makes the rename itself durable; the new file is complete whether or not this succeeds.
void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes, syncs and renames while the lock is held, so that no cleaner takes the file for a
// stale one; on failure the temporary file is removed. Returns 0 or the error number.
int fillAndRename(int fd, const std::string& temp, const SaveTarget& target,
                  std::span<const std::uint8_t> bytes, SignalCleanup& cleanup) {
  struct stat old {};
  if (::stat(target.path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);  // a failure here only loses the old permissions
  }
  errno = 0;
  bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  SignalsHeld held;
  if (written && ::rename(temp.c_str(), target.path.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) ::unlink(temp.c_str());
  cleanup.disarm();
  if (written) return 0;
  return error != 0 ? error : EIO;
}

// Reads through a chunk on the stack and appends what came: a short file costs its own bytes,
// not a zero-filled chunk of the vector for every read.
int readDescriptor(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  int error = 0;
  std::array<std::uint8_t, kReadChunk> chunk;
  while (bytes.size() < limit) {
    ssize_t n = ::read(fd, chunk.data(), std::min(chunk.size(), limit - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
  }
  return error;
}

}  // namespace

int checkSaveTarget(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0) return errno == ENOENT ? 0 : errno;
  if (S_ISREG(link.st_mode)) return 0;
  struct stat pointed {};
  bool linkToFile =
      S_ISLNK(link.st_mode) && ::stat(path.c_str(), &pointed) == 0 && S_ISREG(pointed.st_mode);
  return linkToFile ? 0 : kNotRegularFile;
}

int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
  return replaceFileContents(path, bytes, {});
}

int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes,
                        const std::function<void(const std::string&)>& paused) {
  SaveTarget target;
  if (int error = resolveTarget(path, target); error != 0) return error;
  removeStaleTemporaries(target.folder, target.name);
  SignalCleanup cleanup;
  std::string temp;
  int fd = createTemporary(target, cleanup, temp);
  if (fd < 0) return errno;
  if (paused) paused(temp);
  int error = fillAndRename(fd, temp, target, bytes, cleanup);
  ::close(fd);  // the data is on disk already: fsync succeeded before the rename
  if (error == 0) syncFolder(target.folder);
  return error;
}

int readFileContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  // Opening a FIFO without a writer would wait; O_NONBLOCK returns at once, and the type check
  // refuses it before any read.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info {};
  int error = ::fstat(fd, &info) == 0 ? 0 : errno;
  if (error == 0 && !S_ISREG(info.st_mode)) error = kNotRegularFile;
  if (error == 0) {
    if (info.st_size > 0) bytes.reserve(std::min(static_cast<std::size_t>(info.st_size), limit));
    error = readDescriptor(fd, limit, bytes);
  }
  ::close(fd);
  return error;
}

int readStandardInput(std::size_t limit, std::vector<std::uint8_t>& bytes) {
  return readDescriptor(STDIN_FILENO, limit, bytes);
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  constexpr std::int64_t kNsPerSecond = 1000000000;
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino),
                      static_cast<std::int64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond +
                          static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

#else  // Windows: the standard library's rename replaces an existing file.

int checkSaveTarget(const std::string& path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return 0;
  return fs::is_regular_file(status) ? 0 : kNotRegularFile;
}

int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes) {
  return replaceFileContents(path, bytes, {});
}

int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes,
                        const std::function<void(const std::string&)>& paused) {
  if (int refused = checkSaveTarget(path); refused != 0) return refused;
  fs::path target = path;
  fs::path temp = target;
  temp.replace_filename(temporaryName(randomTag()));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (paused) paused(temp.string());
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
  if (std::error_code e; !fs::is_regular_file(path, e))
    return fs::exists(path, e) ? kNotRegularFile : ENOENT;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ENOENT;
  bytes.resize(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return in.bad() ? EIO : 0;
}

int readStandardInput(std::size_t limit, std::vector<std::uint8_t>& bytes) {
  bytes.resize(limit);
  bytes.resize(std::fread(bytes.data(), 1, limit, stdin));
  return std::ferror(stdin) != 0 ? EIO : 0;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  std::error_code error;
  auto size = fs::file_size(path, error);
  if (error) return std::nullopt;
  auto written = fs::last_write_time(path, error);
  if (error) return std::nullopt;
  return FileIdentity{0, 0, static_cast<std::int64_t>(size),
                      static_cast<std::int64_t>(written.time_since_epoch().count())};
}

#endif

}  // namespace keldovar
