// Whole-file reads and writes for documents: a save that fails never destroys the previous
// version of the file, and a read never waits on a FIFO or a device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace keldovar {

// Returned instead of an error number for a path that exists but is not a regular file (nor a
// symbolic link to one): a directory, FIFO, device, socket or, when saving, a dangling link.
inline constexpr int kNotRegularFile = -1;

// The reason for a result of these functions, in the system's words ("No space left on device").
std::string fileErrorText(int error);

// 0 when a save to `path` may go ahead: nothing is there yet, or a regular file, or a symbolic
// link to one. Otherwise kNotRegularFile or the error number.
int checkSaveTarget(const std::string& path);

// Writes the bytes to a new file beside `path` and puts it in place of the old one only once it
// is complete and on disk. Returns 0, or the error number of what failed; on failure the old
// file is untouched and no temporary file is left behind, also when SIGINT or SIGTERM ends the
// program meanwhile. Saving through a symbolic link replaces the file it points to; any other
// target that is not a regular file is refused. Temporary files of earlier saves in the same
// folder that no running save holds any more (left by a killed process) are removed.
int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes);

// The same, calling `paused` with the temporary file's name once it exists and before anything
// is written to it: a seam for tests that stop a save halfway.
int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes,
                        const std::function<void(const std::string&)>& paused);

// Reads at most `limit` bytes of the file. Returns 0, the error number, or kNotRegularFile
// without waiting when the path names a FIFO, a device or a directory.
int readFileContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes);

// Reads at most `limit` bytes of the program's standard input. Returns 0 or the error number.
int readStandardInput(std::size_t limit, std::vector<std::uint8_t>& bytes);

// What tells one version of a file from another: the file itself (device and inode), its size
// and the time it was last written.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file `path` names (after links), or nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::string& path);

}  // namespace keldovar
