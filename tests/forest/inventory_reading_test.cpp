// Inventories read from CSV and SQLite (a GeoPackage too), and each row checked on its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "forest/csv_reader.h"
#include "forest/inventory_file.h"
#include "forest/sqlite_db.h"

namespace keldovar::forest {
namespace {

// The first field of each row, or its error.
std::vector<std::string> firstFields(const Inventory& inventory) {
  std::vector<std::string> fields;
  for (const InventoryRow& row : inventory.rows) {
    fields.push_back(row.error.empty() ? row.cells.front().bytes + "@" + std::to_string(row.line)
                                       : "! " + row.error);
  }
  return fields;
}

TEST(CsvInventory, FieldsRecordsAndLinesAfterRfc4180) {
  struct Case {
    const char* text;
    std::vector<std::string> rows;  // first field @ line, or "! error"
    const char* error;
  };
  const Case cases[] = {
      {"a,b\r\n1,2\r\n3,4", {"1@2", "3@3"}, ""},
      {"\xEF\xBB\xBF"
       "a,b\n\n1,2\r\r3,4\n",
       {"1@3", "3@5"},
       ""},
      {"a,b\n\"x, \"\"y\"\"\n z\",2\n5,6\n", {"x, \"y\"\n z@2", "5@4"}, ""},
      {"a,b\n1\n1,2,3\n\"1\"x,2\n",
       {"! the row has 1 fields, the header 2", "! the row has 3 fields, the header 2",
        "! text after the closing quote of field 1"},
       ""},
      {"a,b\n\"1,2\n3,4\n", {}, "line 2: a quoted field is not closed"},
      {"\n\n", {}, "no header row: the first line names the columns"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    InventoryRead read = readCsvInventory(c.text, "stands.csv");
    EXPECT_EQ(read.error, c.error);
    if (!read.error.empty()) continue;
    EXPECT_EQ(read.inventory.columns, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(firstFields(read.inventory), c.rows);
  }
}

Inventory csv(const std::string& text) {
  return readCsvInventory(text, "stands.csv").inventory;
}

TEST(CheckInventory, ColumnsThatCannotBeUsedStopEverything) {
  struct Case {
    const char* header;
    const char* error;
  };
  const Case cases[] = {
      {"stand,acres,age", "no 'kind' column"},
      {"stand,acres,kind,Stand", "column 'Stand' is given twice"},
      {"stand,acres,kind,,owner", "column 4 has no name"},
      {"stand,acres,kind,Volume",
       "column 'Volume' has the name of a column the results write: "
       "rename it"},
      {"Stand , ACRES,Kind,owner,geom", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    CheckedInventory checked = checkInventory(csv(std::string(c.header) + "\n"));
    EXPECT_EQ(checked.error, c.error);
  }
  EXPECT_EQ(checkInventory(csv("Stand , ACRES,Kind,owner,geom\n")).passThrough,
            (std::vector<std::string>{"owner", "geom"}));
}

TEST(CheckInventory, EachRowFailsAloneWithItsKeyAndReason) {
  struct Case {
    const char* row;  // stand,acres,kind,age,trees,ba,si,thinage,pcttrees,survival,control,regime
    const char* outcome;  // the initialization line, or the failure
  };
  const Case cases[] = {
      {"P1,40,plantation,,600,,65,,,85,HerbWoody,",
       "plantation si=65 trees=600 survival=85 "
       "control=herbwoody"},
      {" U1 ,2.5, Unthinned ,12, 550 ,80,60,,,,,own.kdr", "unthinned age=12 trees=550 ba=80 si=60"},
      {"T1,1e1,thinned,18,300,70,62,14,30,,,",
       "thinned age=18 ba=70 trees=300 thinage=14 si=62 "
       "pcttrees=30"},
      {"T2,10,thinned,x,,,,,,,,", "thinned age=x"},
      {",40,plantation,,600,,65,,,85,,", "stand: give the stand's id"},
      {"P1,5,plantation,,600,,65,,,85,,", "stand: 'P1' is also the id of row 1"},
      {"P3,0,plantation,,600,,65,,,85,,",
       "acres: give the stand's area, a number of acres above 0"},
      {"P4,ten,plantation,,600,,65,,,85,,",
       "acres: give the stand's area, a number of acres above 0"},
      {"P5,inf,plantation,,600,,65,,,85,,",
       "acres: give the stand's area, a number of acres above 0"},
      {"P6,4,pine,,600,,65,,,85,,", "kind: give unthinned, thinned or plantation"},
      {"P7,4,plantation,12,600,,65,,,85,,",
       "age: not a key of plantation stands (si, trees, "
       "survival, control)"},
      {"P8,4,plantation,,6 00,,65,,,85,,", "trees: a value has no blanks, control characters or #"},
      {"P9,4,plantation,,600,,65#,,,85,,", "si: a value has no blanks, control characters or #"},
      {"P10,4,plantation,,600,,65,,,85,chemical,", "control: give none, woody or herbwoody"},
  };
  std::string text = "stand,acres,kind,age,trees,ba,si,thinage,pcttrees,survival,control,regime\n";
  for (const Case& c : cases) text += std::string(c.row) + "\n";
  CheckedInventory checked = checkInventory(csv(text));
  ASSERT_EQ(checked.error, "");
  ASSERT_EQ(checked.stands.size(), std::size(cases));
  for (std::size_t i = 0; i < checked.stands.size(); ++i) {
    const StandEntry& entry = checked.stands[i];
    SCOPED_TRACE(cases[i].row);
    EXPECT_EQ(entry.row, static_cast<int>(i) + 1);
    EXPECT_EQ(entry.line, static_cast<int>(i) + 2);
    EXPECT_EQ(entry.stand ? initializationLine(*entry.stand) : entry.failure, cases[i].outcome);
  }
  EXPECT_EQ(checked.stands[1].id, "U1");
  EXPECT_EQ(checked.stands[1].stand->regime, "own.kdr");
  EXPECT_EQ(checked.stands[1].acres, 2.5);
}

class SqliteInventory : public ::testing::Test {
 protected:
  std::string path = (std::filesystem::temp_directory_path() /
                      ("keldovar-forest-" + std::to_string(getpid()) + ".gpkg"))
                         .string();
  void TearDown() override { std::filesystem::remove(path); }
};

// A GeoPackage holds its features in a table named by gpkg_contents, beside tables of its own.
TEST_F(SqliteInventory, AGeoPackagesFeatureTableIsReadWithItsGeometryBytes) {
  {
    Database db(path, Database::Mode::ReadWrite);
    db.exec(
        "CREATE TABLE gpkg_contents (table_name TEXT, data_type TEXT);"
        "INSERT INTO gpkg_contents VALUES ('stands', 'features');"
        "CREATE TABLE gpkg_spatial_ref_sys (srs_id INTEGER);"
        "CREATE TABLE stands (fid INTEGER PRIMARY KEY, geom BLOB, stand TEXT, acres REAL, "
        "kind TEXT, si INTEGER, trees INTEGER, survival REAL);"
        "INSERT INTO stands VALUES (1, x'4750000100', 'S1', 12.5, 'plantation', 65, 600, 85.5);"
        "INSERT INTO stands VALUES (2, NULL, 'S2', 3, 'plantation', NULL, 600, 85)");
  }
  LoadedInventory loaded = loadInventory(path);
  ASSERT_EQ(loaded.error, "");
  EXPECT_EQ(loaded.table, "stands");
  EXPECT_EQ(loaded.sha256.size(), 64u);
  CheckedInventory checked = checkInventory(loaded.inventory);
  ASSERT_EQ(checked.error, "");
  EXPECT_EQ(checked.passThrough, (std::vector<std::string>{"fid", "geom"}));
  ASSERT_EQ(checked.stands.size(), 2u);
  EXPECT_EQ(checked.stands[0].passThrough[1].type, Cell::Type::Blob);
  EXPECT_EQ(checked.stands[0].passThrough[1].bytes, std::string("GP\0\x01\0", 5));
  EXPECT_EQ(initializationLine(*checked.stands[0].stand),
            "plantation si=65 trees=600 survival=85.5");
  EXPECT_EQ(initializationLine(*checked.stands[1].stand), "plantation trees=600 survival=85");

  struct Case {
    std::string name;
    std::string error;
  };
  const Case refusals[] = {
      {path + ":trees", "no table or view 'trees' in " + path},
      {path + "x:stands", "cannot read " + path + "x: No such file or directory"},
  };
  for (const Case& c : refusals) EXPECT_EQ(loadInventory(c.name).error, c.error);
  {
    Database db(path, Database::Mode::ReadWrite);
    db.exec("INSERT INTO gpkg_contents VALUES ('roads', 'attributes')");
  }
  EXPECT_EQ(loadInventory(path).error, "name the table as " + path + ":TABLE (roads, stands)");
  EXPECT_EQ(loadInventory(path + ":stands").table, "stands");
}

}  // namespace
}  // namespace keldovar::forest
