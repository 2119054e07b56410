// The .kdv stand file: a document's tables, stand snapshot, settings and remembered dialog
// values as one little-endian binary stream, and saving and opening it on disk.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/document_content.h"

namespace keldovar {

// The file's only version mark: bytes FA C9 9A 3B at the start.
inline constexpr std::int32_t kStandFileMagic = 999999994;

inline constexpr const char* kWrongVersionMessage =
    "Unable to open the file.  The file has a different version number.";
inline constexpr const char* kBadFormatMessage = "Unexpected file format.";

enum class StandFileStatus {
  Ok,
  WrongVersion,  // the file does not start with the magic number
  BadFormat,     // ends early, or holds values the program never writes
  FileError,     // the file itself could not be opened, read or written
};

struct StandFileResult {
  StandFileStatus status = StandFileStatus::Ok;
  std::string message;  // empty on success, else the text to show the user

  bool ok() const { return status == StandFileStatus::Ok; }
};

// The whole file for a document. Values the reader would refuse (counts beyond the fixed
// capacities, overlong lines) are clamped, so that every saved file opens again.
std::vector<std::uint8_t> writeStandFile(const DocumentContent& document);

// `document` holds a newly built document's values on entry; the file's values replace them
// only when the whole file is accepted, otherwise `document` is left exactly as it was.
// Bytes after the document block are ignored.
StandFileResult readStandFile(std::span<const std::uint8_t> bytes, DocumentContent& document);

// Replaces `path` only once the complete file is safely on disk: a failed save leaves the
// previous version untouched and no temporary file behind.
StandFileResult saveStandFile(const std::string& path, const DocumentContent& document);

// Reads `path` into `document` with the same all-or-nothing rule as readStandFile.
StandFileResult openStandFile(const std::string& path, DocumentContent& document);

}  // namespace keldovar
