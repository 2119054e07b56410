// The safe writer stopped halfway: a signalled save leaves no temporary file behind, and one
// left by a killed process is removed by the next save while files in use stay.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "app/safe_file.h"

namespace keldovar {
namespace {

namespace fs = std::filesystem;

class SafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    std::ofstream(target) << "previous";
  }
  void TearDown() override { fs::remove_all(dir); }
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) found.insert(entry.path().filename());
    return found;
  }
  std::string contents() const {
    std::ifstream in(target);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  const fs::path dir =
      fs::temp_directory_path() / ("keldovar-safe-save-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string target = dir / "stand.kdv";
  const std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(1000, 'n');
};

// The child stops inside its save and tells the parent, which then sends the signal: no timing.
int signalDuringSave(const std::string& target, std::span<const std::uint8_t> bytes, int signal) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  pid_t child = ::fork();
  if (child == 0) {
    replaceFileContents(target, bytes, [&](const std::string&) {
      (void)!::write(ready[1], "x", 1);
      for (;;) ::pause();
    });
    ::_exit(0);
  }
  char byte = 0;
  (void)!::read(ready[0], &byte, 1);
  ::kill(child, signal);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

TEST_F(SafeSave, ASignalledSaveLeavesNoTemporaryFile) {
  for (int signal : {SIGTERM, SIGINT, SIGKILL}) {
    EXPECT_EQ(signalDuringSave(target, bytes, signal), signal);
    EXPECT_EQ(contents(), "previous");
    // Nothing can run on SIGKILL: its temporary file waits for the next save.
    EXPECT_EQ(names().size(), signal == SIGKILL ? 2u : 1u) << strsignal(signal);
  }
  ASSERT_EQ(replaceFileContents(target, bytes), 0);
  EXPECT_EQ(names(), std::set<std::string>{"stand.kdv"});
}

// Saves one after another on a thread of their own while the signal goes to the main thread,
// which never blocked it: the temporary file of the save under way must still go. The folder is
// in memory when it can be, so that the saves spend their time where the race was.
TEST(SafeSaveThreads, ASignalToAnotherThreadRemovesTheTemporaryFileOfAnySave) {
  const fs::path shm = "/dev/shm";
  const fs::path dir = (fs::is_directory(shm) ? shm : fs::temp_directory_path()) /
                       ("keldovar-signal-race-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::vector<std::uint8_t> bytes(100, 'n');
  constexpr int kKills = 200;
  int left = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) {
      std::thread saver([&] {
        for (bool told = false;; told = true) {
          replaceFileContents(dir / "stand.kdv", bytes);
          if (!told) (void)!::write(ready[1], "x", 1);
        }
      });
      for (;;) ::pause();
    }
    char byte = 0;
    (void)!::read(ready[0], &byte, 1);
    ::usleep(static_cast<useconds_t>(kill * 7 % 500));
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().filename() != "stand.kdv") {
        ++left;
        fs::remove(entry.path());
      }
    }
  }
  fs::remove_all(dir);
  EXPECT_EQ(left, 0) << "temporary files left by " << kKills << " kills";
}

TEST_F(SafeSave, OnlyTemporaryFilesNoLongerOpenAreRemoved) {
  for (const char* name : {".keldovar-0000000a.tmp", ".keldovar-0000000b.tmp",
                           "stand.kdv.tmp-0123456789abcdef", "notes.tmp", ".keldovar-x.tmp"}) {
    std::ofstream(dir / name) << "left";
  }
  int inUse = ::open((dir / ".keldovar-0000000b.tmp").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
  ASSERT_EQ(replaceFileContents(target, bytes), 0);
  ::close(inUse);
  EXPECT_EQ(names(), (std::set<std::string>{".keldovar-0000000b.tmp", ".keldovar-x.tmp",
                                            "notes.tmp", "stand.kdv"}));
}

}  // namespace
}  // namespace keldovar
