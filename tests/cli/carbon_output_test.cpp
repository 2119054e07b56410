// The batch runner's carbon: the text's Carbon sections only with --carbon, the JSON's carbon
// keys and the valuation at the script's carbon price, the CSV's carbon columns adding up.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/json_reader.h"
#include "tests/cli/cli_outcome.h"

namespace keldovar::cli {
namespace {

const std::string kRegime =
    "plantation si=65 trees=600 survival=85 control=herbwoody\n"
    "grow 14\nthin thinomatic ba=80\ngrow 26\nharvest\n";

double at(const JsonValue& value, std::initializer_list<const char*> path) {
  const JsonValue* v = &value;
  for (const char* key : path) {
    v = v->member(key);
    if (v == nullptr) return -1e300;
  }
  return v->number;
}

TEST(CarbonOutput, TextJsonAndCsv) {
  struct Case {
    std::vector<std::string> options;
    bool carbonShown;
  };
  for (const Case& c :
       {Case{{}, false}, Case{{"--carbon"}, true}, Case{{"--carbon", "--no-financial"}, true}}) {
    std::vector<std::string> args = {"run", "-"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    Outcome r = cli(args, kRegime);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("CARBON(Acre)") != std::string::npos, c.carbonShown);
    EXPECT_EQ(r.out.find("CARBON ON THE STUMP(Acre)") != std::string::npos, c.carbonShown);
  }

  for (const char* price : {"0", "20"}) {
    Outcome r = cli({"run", "-", "--format", "json"}, kRegime + "carbon price=" + price + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::optional<JsonValue> json = readJson(r.out);
    ASSERT_TRUE(json);
    const JsonValue& harvest = json->member("tables")->items.back();
    const JsonValue* value = harvest.member("carbon")->member("value");
    ASSERT_NE(value, nullptr);
    if (std::string(price) == "0") {
      EXPECT_EQ(value->kind, JsonValue::Kind::Null);
      continue;
    }
    double timber = at(harvest, {"lev", "sawtimber"});
    double withCarbon = at(*value, {"lev", "sawtimber"});
    EXPECT_GT(at(*value, {"present_value"}), 0);
    EXPECT_GT(withCarbon, timber);
    EXPECT_EQ(at(*value, {"price"}), 20);
    // The stump's average lies between nothing and its largest point.
    EXPECT_GT(at(harvest, {"carbon", "stump", "average"}), 0);
    EXPECT_GT(at(harvest, {"carbon", "removal", "stored_100"}), 0);
  }

  // Like the timber's LEV and IRR: no value once the financial values are not the harvest's.
  std::optional<JsonValue> stale = readJson(
      cli({"run", "-", "--format", "json"}, kRegime + "carbon price=20\nfinancial interest=8\n")
          .out);
  ASSERT_TRUE(stale);
  EXPECT_EQ(stale->member("tables")->items.back().member("carbon")->member("value")->kind,
            JsonValue::Kind::Null);

  Outcome csv = cli({"run", "-", "--format", "csv"}, kRegime);
  std::istringstream lines(csv.out);
  std::string line;
  std::getline(lines, line);
  double classes = 0;
  int totals = 0;
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    if (cells.size() < 16 || cells[2] == "Harvest") continue;
    if (cells[2] == "Total") {
      EXPECT_NEAR(std::stod(cells[15]), classes, 1e-9 * classes) << line;
      classes = 0;
      ++totals;
    } else {
      classes += std::stod(cells[15]);
    }
  }
  EXPECT_EQ(totals, 5);
}

}  // namespace
}  // namespace keldovar::cli
