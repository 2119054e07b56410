// libFuzzer target for the stand file reader. Besides not crashing, a refused file must leave
// the document as it was, and an accepted one must save to a file that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/stand_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using keldovar::DocumentContent;
  auto document = std::make_unique<DocumentContent>();
  const std::vector<std::uint8_t> untouched = keldovar::writeStandFile(*document);
  if (!keldovar::readStandFile({data, size}, *document).ok()) {
    if (keldovar::writeStandFile(*document) != untouched) std::abort();
    return 0;
  }
  const std::vector<std::uint8_t> saved = keldovar::writeStandFile(*document);
  auto reopened = std::make_unique<DocumentContent>();
  if (!keldovar::readStandFile(saved, *reopened).ok()) std::abort();
  if (keldovar::writeStandFile(*reopened) != saved) std::abort();
  return 0;
}
