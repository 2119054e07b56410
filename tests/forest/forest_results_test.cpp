// The forest's results: digests, text, the acre-weighted years, and SQLite results that read
// back as written and resume where a run stopped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "forest/digest.h"
#include "forest/sqlite_results.h"
#include "forest/text_out.h"

namespace keldovar::forest {

// Failures show a cell's value, not its bytes.
void PrintTo(const Cell& cell, std::ostream* os) {
  *os << static_cast<int>(cell.type) << ":" << cell.integer << ":" << cell.real << ":"
      << hexText(cell.bytes);
}

namespace {

TEST(ForestText, DigestsNumbersAndStrings) {
  struct Digest {
    std::string bytes;
    const char* sha256;
  };
  const Digest digests[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000, 'a'), "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3"},
  };
  for (const Digest& d : digests) EXPECT_EQ(sha256Hex(d.bytes), d.sha256) << d.bytes.size();

  for (double value : {0.1, 1.0 / 3, 123456.789, 5e-324, -2.5e300}) {
    EXPECT_EQ(std::strtod(numberText(value).c_str(), nullptr), value);
  }
  EXPECT_EQ(numberText(40), "40");
  EXPECT_EQ(jsonNumber(std::nullopt), "null");

  struct Text {
    std::string raw;
    const char* json;
  };
  const Text texts[] = {
      {"Doe, \"J\"\n", "\"Doe, \\\"J\\\"\\n\""},
      {"\x01\x7f\\", "\"\\u0001\\u007f\\\\\""},
      {"Ma\xC3\xB1"
       "ana \xE2\x82\xAC",
       "\"Ma\xC3\xB1"
       "ana \xE2\x82\xAC\""},
      {"\xE9t\xE9 \xC3", "\"\xC3\xA9t\xC3\xA9 \xC3\x83\""},  // Latin-1 bytes stay readable
  };
  for (const Text& t : texts) EXPECT_EQ(jsonString(t.raw), t.json);
  EXPECT_EQ(csvField("a,\"b\""), "\"a,\"\"b\"\"\"");
}

// Two stands: one planted on 10 acres, one existing on 2.5 acres and thinned in year 5, whose
// second table of that year is the standing one.
std::vector<StandResult> twoStands() {
  StandResult planted;
  planted.row = 1;
  planted.stand = "P";
  planted.acres = 10;
  planted.ok = true;
  planted.tables = {{1, 0, 8, "Initialized Plantation", {500, 70, 800, 17, 17, 0}, {}, 50},
                    {2, 5, 13, "Projected", {480, 120, 2400, 60, 50, 10}, {}, 90}};
  planted.value = StandValue{};
  planted.value->interest = 5;
  planted.value->flows = {{0, -250, -250}, {5, 100, 200}};
  StandResult existing = planted;
  existing.row = 2;
  existing.stand = "E";
  existing.acres = 2.5;
  existing.tables = {
      {1, 5, 20, "Projected", {400, 140, 3000, 80, 60, 20}, {}, 100},
      {2, 5, 20, "Thinned", {200, 80, 1600, 40, 30, 10}, {200, 60, 1400, 40, 30, 10}, 60}};
  existing.value->flows = {{5, 400, 600}};
  StandResult failed = planted;
  failed.row = 3;
  failed.ok = false;
  return {planted, existing, failed};
}

TEST(ForestTotals, EachYearSumsTheStandsTimesTheirAcres) {
  ForestTotals totals;
  for (const StandResult& stand : twoStands()) totals.add(recordOf(stand));
  std::vector<ForestYear> years = totals.years();
  ASSERT_EQ(years.size(), 2u);
  EXPECT_EQ(totals.stands(), 2);
  EXPECT_EQ(totals.acres(), 12.5);
  const ForestYear& y0 = years[0];
  EXPECT_EQ(y0.stands, 1);
  EXPECT_EQ(y0.standing.trees, 5000);
  EXPECT_EQ(y0.cashSawtimber, -2500);
  EXPECT_EQ(y0.pvSawtimber, -2500);
  const ForestYear& y5 = years[1];
  EXPECT_EQ(y5.stands, 2);
  EXPECT_EQ(y5.acres, 12.5);
  EXPECT_EQ(y5.standing.basalArea, 1200 + 200);
  EXPECT_EQ(*perAcre(y5.standing.basalArea, y5), 1400 / 12.5);
  EXPECT_EQ(y5.removed.volume, 3500);
  EXPECT_EQ(y5.co2e, 900 + 150);
  EXPECT_EQ(y5.cashPulpwood, 1000 + 1000);
  // Discounted at the financial analysis's single-precision rate.
  EXPECT_DOUBLE_EQ(y5.pvSawtimber, 3500 / std::pow(1 + static_cast<double>(5.0f / 100), 5));
}

class SqliteResultsTest : public ::testing::Test {
 protected:
  std::string path = (std::filesystem::temp_directory_path() /
                      ("keldovar-results-" + std::to_string(getpid()) + ".sqlite"))
                         .string();
  void TearDown() override {
    std::filesystem::remove(path);
    std::filesystem::remove(partPath(path));
  }
};

TEST_F(SqliteResultsTest, ResultsReadBackAsWrittenAndAStoppedRunResumes) {
  std::vector<StandRecord> records;
  for (StandResult stand : twoStands()) {
    stand.passThrough = {Cell::text("north"), Cell{Cell::Type::Blob, 0, 0, std::string("\0\1", 2)}};
    records.push_back(recordOf(stand));
  }
  std::vector<std::string> columns = {"owner", "geom"};
  Manifest manifest;
  manifest.set("sha256:inventory", "abc");
  {
    SqliteResults first(path, columns, false);
    first.stand(records[0]);
  }  // stopped before finishing: the stand was not committed yet
  {
    SqliteResults stopped(path, columns, true);
    EXPECT_TRUE(stopped.done().empty());
  }
  std::filesystem::remove(partPath(path));
  {
    SqliteResults first(path, columns, false);
    for (int i = 0; i < 64; ++i) {
      StandRecord r = records[0];
      r.stand[kStandRow].integer = 100 + i;
      for (CellRow& row : r.tables) row[kTableRow].integer = 100 + i;
      for (CellRow& row : r.flows) row[kFlowRow].integer = 100 + i;
      first.stand(r);
    }
  }
  SqliteResults resumed(path, columns, true);
  EXPECT_EQ(resumed.done().size(), 64u);
  EXPECT_THROW(SqliteResults(path, {"owner"}, true), ForestError);
  resumed.stand(records[0]);
  resumed.stand(records[1]);
  resumed.stand(records[2]);
  resumed.finish(manifest);
  EXPECT_FALSE(std::filesystem::exists(partPath(path)));
  StoredResults stored = readResults(path);
  EXPECT_EQ(stored.passThrough, columns);
  EXPECT_EQ(stored.manifest.get("stands"), "67");
  EXPECT_EQ(stored.manifest.get("failed"), "1");
  ASSERT_EQ(stored.stands.size(), 67u);
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(stored.stands[i].stand, records[i].stand);
    EXPECT_EQ(stored.stands[i].tables, records[i].tables);
    EXPECT_EQ(stored.stands[i].flows, records[i].flows);
    EXPECT_EQ(stored.stands[i].passThrough, records[i].passThrough);
  }
}

}  // namespace
}  // namespace keldovar::forest
