// The files a run reads besides the inventory: the regime template or search space, and the
// regimes the rows name, each with its SHA-256 for the manifest.
#pragma once

#include <string>

#include "forest/inventory.h"
#include "forest/manifest.h"
#include "forest/stand_plan.h"

namespace keldovar::forest {

// A regime or a space is a script: no bigger than the batch runner reads.
inline constexpr std::size_t kInputSizeLimit = std::size_t{16} << 20;

struct InputFile {
  std::string text;
  std::string sha256;
  std::string error;  // "cannot read NAME: why"
};

// A regular file of at most 16 MB; a directory, FIFO or device is refused without waiting.
InputFile readInputFile(const std::string& path);

// Reads the regime of every row that names its own, a relative name from the inventory's
// folder, each once; one that cannot be read or used fails the stands that name it. Their
// digests go into the manifest as "sha256:regime NAME".
void readStandRegimes(const CheckedInventory& inventory, const std::string& inventoryPath,
                      Plan& plan, Manifest& manifest);

}  // namespace keldovar::forest
