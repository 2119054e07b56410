// libFuzzer target for the batch runner: any script either fails its syntax check or runs to
// the end through the engine, with every output format and a stand file that reads back. Long
// scripts are run too: a full table store and capped error lists are only reached by them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/stand_file.h"
#include "cli/output.h"
#include "script/runner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace keldovar;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ParsedScript script = parseScript(text);
  if (!script.errors.empty()) return 0;
  FixedClock clock(LocalTime{2026, 12, 7, 10, 0, 0, 1});
  auto runner = std::make_unique<Runner>(clock, ViewOptions{});
  for (const Command& command : script.commands) runner->run(command);
  const DocumentContent& content = runner->document().content();
  cli::textOutput(content.store, true, false);
  cli::jsonOutput(content.store, runner->messages(), content.settings.financial);
  cli::csvOutput(content.store, content.settings.financial);
  std::vector<std::uint8_t> saved = writeStandFile(content);
  auto reopened = std::make_unique<DocumentContent>();
  if (!readStandFile(saved, *reopened).ok()) std::abort();
  if (writeStandFile(*reopened) != saved) std::abort();
  return 0;
}
