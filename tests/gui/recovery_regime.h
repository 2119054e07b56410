// The regime the crash test's program works through its menu commands, one step at a time,
// with no step that would ask to reset the document: plant, grow a year at a time to 20,
// row-and-low thin, grow to 30, Thinomatic, grow to 45, harvest.
#pragma once

#include <string>

#include "app/stand_file.h"
#include "script/commands.h"
#include "tests/gui/gui_helpers.h"

namespace keldovar::test {

inline constexpr int kRegimeSteps = 41;

inline void runRegimeStep(TestProgram& program, int n) {
  namespace cmd = command_ids;
  int command = cmd::kGrow;
  if (n == 0) {
    command = cmd::kInitPlantation;
    program.source.answer(
        {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}});
  } else if (n == 13) {
    command = cmd::kRowLowThin;
    program.source.answer({{"ba", "75"}, {"row", "33"}});
  } else if (n == 24) {
    command = cmd::kThinomatic;
    program.source.answer({{"ba", "90"}});
  } else if (n == kRegimeSteps - 1) {
    command = cmd::kHarvest;
  } else {
    // Ages 9 to 20, 21 to 30 and 31 to 45 between the treatments; a plantation starts at 8.
    program.source.answer({{"age", std::to_string(n < 13 ? n + 8 : n < 24 ? n + 7 : n + 6)}});
  }
  program.frame().runCommand(command);
}

// What the active document would store now.
inline std::vector<std::uint8_t> activeStandBytes(TestProgram& program) {
  return writeStandFile(program.active().controller().content());
}

}  // namespace keldovar::test
