// Recovery copies without a toolkit: the record's text and its refusals, which leftovers a
// starting program sees, the coalescing schedule, and the worker that writes the copies.
#include "app/recovery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/recovery_writer.h"

namespace keldovar {
namespace {

namespace fs = std::filesystem;

RecoveryRecord sampleRecord(std::string path) {
  RecoveryRecord record;
  record.path = std::move(path);
  record.untitledNumber = 3;
  record.time = 1796550000;
  record.processId = 4242;
  record.version = "3.0.0";
  return record;
}

void expectSame(const RecoveryRecord& a, const RecoveryRecord& b) {
  EXPECT_EQ(a.path, b.path);
  EXPECT_EQ(a.untitledNumber, b.untitledNumber);
  EXPECT_EQ(a.time, b.time);
  EXPECT_EQ(a.processId, b.processId);
  EXPECT_EQ(a.version, b.version);
}

TEST(RecoveryRecord, ReadsBackWhatItWrites) {
  RecoveryRecord untitled = sampleRecord("");
  EXPECT_EQ(writeRecoveryRecord(untitled),
            "KELDOVAR recovery record 1\nuntitled=3\ntime=1796550000\npid=4242\nversion=3.0.0\n");
  auto read = readRecoveryRecord(writeRecoveryRecord(untitled));
  ASSERT_TRUE(read);
  expectSame(*read, untitled);

  // Any byte may be in a file name, a line break and a '%' too.
  std::string odd = "/home/k/stands/100%\nnew\tone\x7f.kdv";
  std::string text = writeRecoveryRecord(sampleRecord(odd));
  EXPECT_NE(text.find("path=/home/k/stands/100%25%0Anew%09one%7F.kdv\n"), std::string::npos);
  read = readRecoveryRecord(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->path, odd);
  EXPECT_EQ(read->untitledNumber, 0);
}

TEST(RecoveryRecord, RefusesAnyDamage) {
  std::string good = writeRecoveryRecord(sampleRecord("/a/b.kdv"));
  ASSERT_TRUE(readRecoveryRecord(good));
  // Every cut short of the whole record, as a full disk could leave it.
  for (std::size_t length = 0; length < good.size(); ++length) {
    EXPECT_FALSE(readRecoveryRecord(good.substr(0, length))) << length;
  }
  const std::string header = "KELDOVAR recovery record 1\n";
  const std::string tail = "time=1\npid=2\nversion=3.0\n";
  for (const std::string& bad : {
           good + "extra=1\n",                                  // a line too many
           header + "path=/a\nuntitled=1\n" + tail,             // both kinds of origin
           header + "path=\n" + tail,                           // no path
           header + "path=/a%zz\n" + tail,                      // not an escape
           header + "path=/a%41\n" + tail,                      // 'A' never needs one
           header + "path=/a%0a\n" + tail,                      // lower-case hex is not written
           header + "path=/a\tb\n" + tail,                      // a raw control byte
           header + "untitled=0\n" + tail,                      // numbers start at 1
           header + "untitled=01\n" + tail,                     // leading zero
           header + "untitled=1\ntime=-1\npid=2\nversion=3\n",  // negative time
           header + "untitled=1\ntime=1\npid=2\nversion=\n",    // no version
           header + "untitled=1\npid=2\ntime=1\nversion=3\n",   // out of order
           "KELDOVAR recovery record 2\nuntitled=1\n" + tail,   // another format
           header + "untitled=1\ntime=1234567890123456\npid=2\nversion=3\n",
           header + "untitled=1\n" + tail + std::string(20000, 'x'),
       }) {
    EXPECT_FALSE(readRecoveryRecord(bad)) << bad;
  }
}

TEST(RecoveryLeftovers, GroupsAnotherRunsFilesAndLeavesOutTheOwnAndForeign) {
  std::string own = recoveryInstanceTag(100, 5);
  std::string gone = recoveryInstanceTag(200, 7);
  std::string lockOnly = recoveryInstanceTag(300, 9);
  EXPECT_EQ(gone, "p200t7");
  EXPECT_EQ(recoveryCopyName({gone, 4}), "p200t7_4.kdv");
  std::vector<std::string> names = {recoveryLockName(own),
                                    recoveryCopyName({own, 1}),
                                    recoveryRecordName({own, 1}),
                                    recoveryLockName(gone),
                                    recoveryCopyName({gone, 4}),
                                    recoveryRecordName({gone, 4}),
                                    recoveryRecordName({gone, 2}),
                                    recoveryCopyName({gone, 9}),
                                    recoveryLockName(lockOnly),
                                    ".keldovar-0a1b2c3d.tmp",
                                    "notes.txt",
                                    "P9_1.kdv",
                                    "p1_0.kdv",
                                    "p1_x.rec",
                                    "_3.kdv"};
  auto leftovers = findRecoveryLeftovers(names, own);
  ASSERT_EQ(leftovers.size(), 2u);
  const RecoveryLeftovers& first = leftovers[0];
  EXPECT_EQ(first.instance, gone);
  EXPECT_TRUE(first.hasLock);
  ASSERT_EQ(first.complete.size(), 1u);
  EXPECT_EQ(first.complete[0].document, 4);
  ASSERT_EQ(first.recordOnly.size(), 1u);
  EXPECT_EQ(first.recordOnly[0].document, 2);
  ASSERT_EQ(first.copyOnly.size(), 1u);
  EXPECT_EQ(first.copyOnly[0].document, 9);
  EXPECT_EQ(leftovers[1].instance, lockOnly);
  EXPECT_TRUE(leftovers[1].complete.empty() && leftovers[1].copyOnly.empty());
}

TEST(AutosaveScheduler, WritesTheFirstChangeAtOnceThenAtMostOncePerInterval) {
  AutosaveScheduler scheduler(2000);
  EXPECT_FALSE(scheduler.take(0));  // nothing changed
  scheduler.changed();
  EXPECT_EQ(scheduler.dueAt(), 0);
  EXPECT_TRUE(scheduler.take(100));
  EXPECT_FALSE(scheduler.pending());
  // Ten steps within the interval make one copy at its end.
  for (int t = 200; t < 2000; t += 180) {
    scheduler.changed();
    EXPECT_FALSE(scheduler.take(t)) << t;
  }
  EXPECT_EQ(scheduler.dueAt(), 2100);
  EXPECT_FALSE(scheduler.take(2099));
  EXPECT_TRUE(scheduler.take(2100));
  EXPECT_FALSE(scheduler.take(9000));
  // A change long after the last copy is written at once again.
  scheduler.changed();
  EXPECT_TRUE(scheduler.take(9000));
  // Save inside the interval: the pending copy is dropped, and the interval still holds.
  scheduler.changed();
  scheduler.cancel();
  EXPECT_FALSE(scheduler.take(12000));
  scheduler.changed();
  EXPECT_FALSE(scheduler.take(10999));
  EXPECT_TRUE(scheduler.take(11000));

  EXPECT_EQ(autosaveInterval(nullptr), 2000);
  EXPECT_EQ(autosaveInterval("150"), 150);
  for (const char* bad : {"", "0", "-5", "60001", "1e3", "abc", "150 "}) {
    EXPECT_EQ(autosaveInterval(bad), 2000) << bad;
  }
}

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(RecoveryWriter, WritesAndRemovesInOrderOffTheCallersThread) {
  fs::path folder = fs::temp_directory_path() / ("keldovar-recovery-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::string record = (folder / "a_1.rec").string();
  std::string copy = (folder / "a_1.kdv").string();
  {
    RecoveryWriter writer;
    writer.write(record, "first", copy, {1, 2, 3});
    writer.write(record, "second", copy, {4, 5});
    writer.waitIdle();
    EXPECT_EQ(writer.lastError(), 0);
    EXPECT_EQ(contents(record), "second");
    EXPECT_EQ(contents(copy), std::string("\x04\x05"));
    // A removal given after a write never overtakes it.
    writer.write(record, "third", copy, {6});
    writer.remove({copy, record});
    writer.waitIdle();
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_FALSE(fs::exists(record));
    writer.write((folder / "missing" / "b_1.rec").string(), "x", (folder / "b_1.kdv").string(),
                 {1});
    writer.waitIdle();
    EXPECT_NE(writer.lastError(), 0);
    EXPECT_FALSE(fs::exists(folder / "b_1.kdv"));
    // Jobs still queued when the writer goes are done first.
    writer.write(record, "last", copy, {7});
  }
  EXPECT_EQ(contents(record), "last");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace keldovar
