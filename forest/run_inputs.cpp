// Reading the regime files of a run.
#include "forest/run_inputs.h"

#include <filesystem>
#include <vector>

#include "app/safe_file.h"
#include "forest/digest.h"

namespace keldovar::forest {

InputFile readInputFile(const std::string& path) {
  InputFile file;
  std::vector<std::uint8_t> bytes;
  int error = readFileContents(path, kInputSizeLimit + 1, bytes);
  if (error != 0 || bytes.size() > kInputSizeLimit) {
    std::string why = error == kNotRegularFile ? std::string("not a regular file")
                      : error != 0             ? fileErrorText(error)
                                               : std::string("larger than 16 MB");
    file.error = "cannot read " + path + ": " + why;
    return file;
  }
  file.text.assign(bytes.begin(), bytes.end());
  file.sha256 = sha256Hex(file.text);
  return file;
}

void readStandRegimes(const CheckedInventory& inventory, const std::string& inventoryPath,
                      Plan& plan, Manifest& manifest) {
  std::filesystem::path folder = std::filesystem::path(inventoryPath).parent_path();
  for (const StandEntry& entry : inventory.stands) {
    if (!entry.stand || entry.stand->regime.empty()) continue;
    const std::string& name = entry.stand->regime;
    if (plan.standRegimes.count(name) != 0) continue;
    std::filesystem::path path = name;
    if (path.is_relative()) path = folder / path;
    InputFile file = readInputFile(path.string());
    RegimeTemplate regime = readTemplate(file.text, name);
    if (!file.error.empty()) {
      regime.error = "regime: " + file.error + "\n";
    } else {
      manifest.set(std::string(manifest_keys::kDigestPrefix) + "regime " + name, file.sha256);
    }
    plan.standRegimes.emplace(name, std::move(regime));
  }
}

}  // namespace keldovar::forest
