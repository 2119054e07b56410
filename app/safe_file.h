// Whole-file reads and writes for documents: a save that fails never destroys the previous
// version of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace keldovar {

// Writes the bytes to a new file beside `path` and puts it in place of the old one only once it
// is complete and on disk. Returns 0, or the error number of what failed; on failure the old
// file is untouched and no temporary file is left behind. Saving through a symbolic link
// replaces the file it points to.
int replaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes);

// Reads at most `limit` bytes of the file. Returns 0 or the error number.
int readFileContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes);

}  // namespace keldovar
