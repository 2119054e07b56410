// The script's `carbon` command: the Carbon dialog's checks, keys not given keeping their values,
// and a refused value leaving the runner's carbon values as they were.
#include <gtest/gtest.h>

#include "script/runner.h"

namespace keldovar {
namespace {

TEST(CarbonCommand, SetsTheRunnersValuesAsTheDialogChecksThem) {
  struct Case {
    const char* line;
    bool ok;
    double price, baseline;  // after the line
    const char* message;     // the refusal, with its key
  };
  FixedClock clock(LocalTime{});
  Runner runner(clock, ViewOptions{});
  EXPECT_EQ(runner.carbon(), (CarbonValues{0, 0}));
  for (const Case& c : {
           Case{"carbon price=12.5", true, 12.5, 0, ""},
           Case{"CARBON Baseline=30", true, 12.5, 30, ""},
           Case{"carbon price=1000 baseline=0", true, 1000, 0, ""},
           Case{"carbon price=-1", false, 1000, 0,
                "-:1: price: Enter a number between 0 and 1000."},
           Case{"carbon baseline=ten", false, 1000, 0, "-:1: baseline: Enter a number."},
           Case{"carbon price=", false, 1000, 0, "-:1: price: Enter a number."},
           Case{"carbon", true, 1000, 0, ""},
       }) {
    ParsedScript parsed = parseScript(c.line);
    ASSERT_TRUE(parsed.errors.empty()) << c.line;
    ASSERT_EQ(parsed.commands.size(), 1u);
    std::size_t before = runner.messages().size();
    EXPECT_EQ(runner.run(parsed.commands[0]), c.ok) << c.line;
    EXPECT_EQ(runner.carbon(), (CarbonValues{c.price, c.baseline})) << c.line;
    std::string shown;
    if (runner.messages().size() > before) shown = messageLine("-", runner.messages().back());
    EXPECT_EQ(shown, c.message) << c.line;
  }
  EXPECT_FALSE(parseScript("carbon rate=5").errors.empty());
  EXPECT_EQ(runner.document().store().lastIndex, -1);  // the document never saw the command
}

}  // namespace
}  // namespace keldovar
