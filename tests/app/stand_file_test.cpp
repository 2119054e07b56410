// Stand file: its byte layout, the reader's refusals, and saving without losing the old file.
#include "app/stand_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

#include "document/bar_graph.h"
#include "engine/engine.h"
#include "engine/log_rule.h"

namespace keldovar {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Offsets in a file of one table whose lines are all empty and whose bark basis is "OB".
constexpr std::size_t kBars = 16 + 26;
constexpr std::size_t kHistory = kBars + 101 * 24;
constexpr std::size_t kCounts = kHistory + 30 * 80;  // stockLast, historyLast, financialLast
constexpr std::size_t kDoc = 16 + 5018;
constexpr std::size_t kDocBytes = 2451;
// Inside the document block.
constexpr std::size_t kHistoryCount = 128, kInterest = 1732, kFertAgesLast = 1776;
constexpr std::size_t kBarkBasis = 2344, kLogRuleName = 2347;

std::unique_ptr<DocumentContent> fresh(int lastIndex = -1) {
  auto doc = std::make_unique<DocumentContent>();
  doc->store.lastIndex = lastIndex;
  return doc;
}

std::uint64_t valueAt(const Bytes& b, std::size_t at, std::size_t size) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < size; ++i) v |= std::uint64_t{b.at(at + i)} << (8 * i);
  return v;
}
int int32At(const Bytes& b, std::size_t at) {
  return static_cast<int>(valueAt(b, at, 4));
}
void putInt32(Bytes& b, std::size_t at, int v) {
  for (std::size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}
void splice(Bytes& b, std::size_t at, std::size_t length, const Bytes& with) {
  auto first = b.begin() + static_cast<std::ptrdiff_t>(at);
  b.insert(b.erase(first, first + static_cast<std::ptrdiff_t>(length)), with.begin(), with.end());
}
Bytes counted(std::uint8_t length, char c) {
  Bytes b(std::size_t{length} + 1, static_cast<std::uint8_t>(c));
  b[0] = length;
  return b;
}

// Walks a file item by item as the format lists them, independently of the writer.
class Walk {
 public:
  Walk(const Bytes& bytes, std::size_t at) : bytes_(bytes), at_(at) {}
  template <class T>
  Walk& operator()(T expected, int times = 1) {
    for (int i = 0; i < times; ++i, at_ += sizeof(T)) {
      using Bits =
          std::conditional_t<sizeof(T) == 1, std::uint8_t,
                             std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>;
      std::uint64_t bits = std::bit_cast<Bits>(expected);
      EXPECT_EQ(valueAt(bytes_, at_, sizeof(T)), bits) << "at byte " << at_;
    }
    return *this;
  }
  // A short string: its one-byte length, then its characters.
  Walk& text(const std::string& expected, int times = 1) {
    for (int i = 0; i < times; ++i)
      (*this)(static_cast<std::uint8_t>(expected.size())).raw(expected);
    return *this;
  }
  Walk& raw(const std::string& expected) {
    for (char c : expected) (*this)(static_cast<std::uint8_t>(c));
    return *this;
  }
  Walk& skip(std::size_t bytes) {
    at_ += bytes;
    return *this;
  }
  std::size_t at() const { return at_; }

 private:
  const Bytes& bytes_;
  std::size_t at_;
};

// Answers the engine's prompts like a user working through one regime.
class RegimeHooks final : public EngineHooks {
 public:
  explicit RegimeHooks(Engine& engine) : engine_(engine) { engine.setHooks(this); }
  int growAge = 0;
  BarGraph graph;

  void showMessage(const char*, const char*, const char*) override {}
  std::optional<UnthinnedEntry> askUnthinned() override {
    return UnthinnedEntry{600, 15, 0, 0, 62};
  }
  std::optional<ThinnedEntry> askThinned() override { return std::nullopt; }
  std::optional<PercentRemovedEntry> askPercentRemoved() override { return std::nullopt; }
  std::optional<PlantationEntry> askPlantation() override { return std::nullopt; }
  std::optional<int> askGrowAge() override { return growAge; }
  std::optional<double> askResidualBA() override { return 70; }
  std::optional<double> askThinToDBH() override { return std::nullopt; }
  LowThinChoice askLowThinMethod() override { return LowThinChoice::ByBasalArea; }
  std::optional<RowLowEntry> askRowLow() override { return std::nullopt; }
  int buildBarGraph(int first) override {
    return keldovar::buildBarGraph(graph, engine_.state(), first);
  }

 private:
  Engine& engine_;
};

// Initializes an unthinned stand, grows it, thins it, grows it and harvests it, storing each
// step's output as a table the way the document does; `steps` cuts the regime short.
void runRegime(DocumentContent& doc, int steps) {
  const FixedClock clock(LocalTime{2024, 3, 15, 14, 30, 0, 5});  // reproducible seed files
  Engine engine(nullptr, &clock);
  RegimeHooks hooks(engine);
  StandState& s = engine.state();
  auto grow = [&](int age) {
    hooks.growAge = age;
    return engine.growStep();
  };
  const MerchInputs merch = merchInputsOf(doc.settings);
  const std::function<StepResult()> regime[] = {
      [&] { return engine.initializeStep(kExistingUnthinned, merch); }, [&] { return grow(20); },
      [&] { return engine.treatStep(kThinomatic); }, [&] { return grow(30); },
      [&] { return engine.treatStep(kHarvest); }};
  handOverSettings(doc.settings, s);
  for (int i = 0; i < steps; ++i) {
    ASSERT_EQ(regime[i](), StepResult::Stored) << "step " << i;
    TableStore& store = doc.store;
    auto slot = static_cast<std::size_t>(++store.lastIndex);
    copyOutputsToTable(engine, hooks.graph, store.tables[slot]);
    store.snapshot = takeSnapshot(s);
  }
}

// Real regimes double as the fuzzer's seed files: they are written to the folder that
// KELDOVAR_SEED_DIR names (tests/fuzz/corpus/stand_file) when it is set.
TEST(StandFile, RealRegimesSurviveTheRoundTrip) {
  std::vector<std::pair<std::string, Bytes>> seeds{{"empty.kdv", writeStandFile(*fresh())}};
  auto doc = fresh();
  for (int steps : {1, 3, 5}) {
    doc = fresh();
    doc->settings.logRuleName = steps == 3 ? kLogRuleDoyle : kLogRuleInternational;
    doc->options.showBargraph = steps == 3;
    ASSERT_NO_FATAL_FAILURE(runRegime(*doc, steps));
    seeds.emplace_back("regime-" + std::to_string(steps) + ".kdv", writeStandFile(*doc));
  }
  for (const auto& [name, bytes] : seeds) {
    EXPECT_LT(bytes.size(), 60000u) << name;
    auto back = fresh();
    ASSERT_TRUE(readStandFile(bytes, *back).ok()) << name;
    EXPECT_EQ(writeStandFile(*back), bytes) << name;
  }
  // What the file does not carry keeps the value of the document it is read into, except
  // that a reopened stand is never left blocked by its old state.
  doc->store.firstShown = 4;
  doc->store.stepTable = 3;
  Bytes bytes = writeStandFile(*doc);
  auto back = fresh();
  back->options.showAllTables = false;
  StandSnapshot& m = back->store.snapshot;
  std::tie(m.truncatedDistribution, m.volumeMode, m.status) = std::tuple(1, 2, -1);
  ASSERT_TRUE(readStandFile(bytes, *back).ok());
  EXPECT_EQ(std::pair(back->store.firstShown, back->store.stepTable), std::pair(4, 3));
  EXPECT_FALSE(back->options.showAllTables);
  EXPECT_EQ(std::tuple(m.status, m.truncatedDistribution, m.volumeMode), std::tuple(1, 0, 0));

  splice(bytes, bytes.size() - 96 - 8 - 3, 3, Bytes{0xFF, 0xFE, 0xFF, 2, 'O', 0, 'B', 0});
  ASSERT_TRUE(readStandFile(bytes, *back).ok());
  seeds.emplace_back("wide-bark-basis.kdv", bytes);
  if (const char* folder = std::getenv("KELDOVAR_SEED_DIR")) {
    for (const auto& [name, seed] : seeds) {
      std::ofstream out(fs::path(folder) / name, std::ios::binary);
      out.write(reinterpret_cast<const char*>(seed.data()), std::ssize(seed));
      ASSERT_TRUE(out.good()) << name;
    }
  }
}

// Each value is its item number (tenths for the entries of a list), so that any item out of
// place shows at once.
TEST(StandFile, EmptyStoreIsTheHeaderThenTheDocumentBlockInItsOrder) {
  auto doc = fresh();
  StandSnapshot& n = doc->store.snapshot;
  std::tie(n.BA, n.TPA, n.HD, n.AG, n.SI, n.minClass, n.maxClass, n.PLNTR, n.targetAge,
           n.truncationDBH, n.firstClass) =
      std::tuple(3., 4., 5., 6., 7., 9., 11., 13., 14., 15., 16.);
  std::tie(n.unthinned, n.initialized, n.historyCount) = std::tuple(17, 18, 19);
  std::tie(n.classPulpTons[24], n.classBA[24], n.classHeight[24], n.classSawTons[24],
           n.classVolume[24], n.classTopVolume[24], n.classTrees[24], n.classIUPulpTons[24]) =
      std::tuple(20.1, 20.2, 20.3, 20.4, 20.5, 20.6, 20.7, 20.8);
  doc->settings.financial = {21.1f, 21.2f, 21.3f, 21.4f, 21.5f, 21.6f, 21.7f, 21.8f, 21.9f};
  std::tie(n.fFert_Nitrogen, n.iFertAge, n.fertAgesLast, n.fertAges[100], n.fertRecordPending,
           n.bFert_Phosphorus, n.thinResult.pulpTonsRemoved, n.thinLock, n.existingStand) =
      std::tuple(22.f, 23, 24, 25, 26, 27, 28., 29, 32);
  std::tie(n.distScale, n.distCap, n.thinAge, n.treesRatio, n.baRatio, n.pctTreesRemoved,
           n.pctBARemoved, n.totalVolume, n.distBA) =
      std::tuple(33.1, 33.2, 33.3, 33.4, 33.5, 33.6, 33.7, 35., 36.);
  doc->settings.merchLimit = 34;
  doc->options.showBargraph = true;
  doc->remembered = {39.01f, 39.02f, 39.03f, 39.04f, 5,  6,  7,  8,      39.09f, 39.10f, 11,
                     12,     13,     14,     39.15f, 16, 17, 18, 39.19f, 39.23f, 39.24f};
  std::tie(doc->settings.merchLimitShown, doc->settings.sawThreshold, doc->settings.pulpThreshold) =
      std::tuple(39.20f, 21, 22);
  Bytes bytes = writeStandFile(*doc);
  ASSERT_EQ(bytes.size(), 16 + kDocBytes);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 16),
            (Bytes{0xFA, 0xC9, 0x9A, 0x3B, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  Walk w(bytes, 16);
  w(1, 2)(3.)(4.)(5.)(6.)(7.)(0.)(9.)(0.)(11.)(0.)(13.)(14.)(15.)(16.)(17)(18)(19);
  w.skip(24 * 64)(20.1)(20.2)(20.3)(20.4)(20.5)(20.6)(20.7)(20.8);
  w(21.1f)(21.2f)(21.3f)(21.4f)(21.5f)(21.6f)(21.7f)(21.8f)(21.9f)(22.f)(23)(24)(0,
                                                                                 100)(25)(26)(27);
  w(0., 6)(28.)(29)(0, 2)(32)(33.1)(33.2)(33.3)(33.4)(33.5)(33.6)(33.7)(34.)(35.)(36.);
  w.text("OB").text("INT 1/4")(39.01f)(39.02f)(39.03f)(39.04f)(5)(6)(7)(8)(39.09f)(39.10f);
  w(11)(12)(13)(14)(39.15f)(16)(17)(18)(39.19f)(39.20f)(21)(22)(39.23f)(39.24f);
  EXPECT_EQ(w.at(), bytes.size());
  auto back = fresh(0);
  ASSERT_TRUE(readStandFile(bytes, *back).ok());
  EXPECT_EQ(back->store.lastIndex, -1);
  EXPECT_EQ(writeStandFile(*back), bytes);
}

TEST(StandFile, TableBlockInItsOrder) {
  auto doc = fresh(0);
  ReportTable& t = doc->store.tables[0];
  std::tie(t.hasStandTable, t.hasThinningReport, t.thinningLines[5]) = std::tuple(1, 2, "3");
  std::tie(t.bar.barMax, t.bar.barLast, t.bar.barAge) = std::tuple(4.5f, 5, 6);
  std::tie(t.bar.barValue[1], t.bar.barClass[1]) = std::tuple(7, 7);
  t.bar.bars[1] = {71, 72, 73, 74};
  HistoryRecord& h = t.history[1];
  h = HistoryRecord{8.0, "Cut", 8.1, 8.2, 8.3, 8.4, 8.5, 8.6};
  std::tie(t.stockLast, t.historyLast, t.financialLast) = std::tuple(0, 10, 0);
  t.beforeStockLines[1] = "12";
  t.stock[0] = {13.1f, 13.2f, 13.3f, 13.4f, 13.5f, 13.6f, 13.7f, 13.8f, 99};
  std::tie(t.afterStockLines[1], t.financialLines[0], t.historyText[8], t.titleLines[7]) =
      std::tuple("14", "15", "16", "17");
  StoredLayout& l = t.storedLayout;
  std::tie(l.colWidth[0], l.colChars[0], l.colChars[7], l.colWidth[8]) = std::tuple(18, 18, 18, 99);
  std::tie(l.positions.graphBaseY, l.positions.thinningY) = std::tuple(19, 19);
  std::tie(t.barkBasis, t.merchLimit, t.logRuleName) = std::tuple("OB", 21.5, "Doyle");
  Bytes bytes = writeStandFile(*doc);
  Walk w(bytes, 16);
  w(1)(2).text("", 5).text("3")(4.5f)(5)(6)(0, 6)(7)(7)(71)(72)(73)(74).skip(99 * 24 + 80);
  w(8.0).raw(std::string("Cut", 4)).skip(20)(8.1)(8.2)(8.3)(8.4)(8.5)(8.6).skip(28 * 80)(0)(10)(0);
  w.text("").text("12")(13.1f)(13.2f)(13.3f)(13.4f)(13.5f)(13.6f)(13.7f)(13.8f);
  w.text("").text("14").text("15").text("", 8).text("16").text("", 7).text("17");
  w(18)(18)(0, 12)(0)(18)(19)(0, 12)(19).text("OB")(21.5)(2);
  EXPECT_EQ(w.at(), bytes.size() - kDocBytes);

  // Without stock rows and financial lines every bar and history row is still there.
  t = ReportTable{};
  EXPECT_EQ(writeStandFile(*doc).size(), kDoc + kDocBytes);
}

TEST(StandFile, LogRuleTravelsAsItsCode) {
  using Case = std::tuple<const char*, int, const char*, LogRuleFactor>;
  for (const auto& [name, code, readBack, factor] :
       {Case{"Scribner", 3, "Scribner", scribnerFactor}, Case{"Doyle", 2, "Doyle", doyleFactor},
        Case{"doyle", 1, "INT 1/4", internationalFactor}}) {
    auto doc = fresh(0);
    doc->store.tables[0].logRuleName = name;
    Bytes bytes = writeStandFile(*doc);
    EXPECT_EQ(int32At(bytes, kDoc - 4), code) << name;
    auto back = fresh();
    ASSERT_TRUE(readStandFile(bytes, *back).ok());
    EXPECT_EQ(back->store.tables[0].logRuleName, readBack);
    EXPECT_EQ(back->settings.logRuleFactor, factor) << name;
  }
  // The routine is the last table's; the document's own name travels separately.
  auto doc = fresh(1);
  doc->store.tables[0].logRuleName = "Doyle";
  doc->store.tables[1].logRuleName = "Scribner";
  doc->settings.logRuleName = "Doyle";
  auto back = fresh();
  ASSERT_TRUE(readStandFile(writeStandFile(*doc), *back).ok());
  EXPECT_EQ(back->settings.logRuleFactor, scribnerFactor);
  EXPECT_EQ(back->settings.logRuleName, "Doyle");
  // Without tables the freshly built document's routine stays.
  back->settings.logRuleFactor = doyleFactor;
  ASSERT_TRUE(readStandFile(writeStandFile(*fresh()), *back).ok());
  EXPECT_EQ(back->settings.logRuleFactor, doyleFactor);
}

TEST(StandFile, StringForms) {
  for (const auto& [length, prefix] : {std::pair<std::size_t, Bytes>{254, {0xFE}},
                                       {255, {0xFF, 0xFF, 0x00}},
                                       {300, {0xFF, 0x2C, 0x01}},
                                       {301, {0xFF, 0x2C, 0x01}}}) {  // saved as its first 300
    auto doc = fresh(0);
    doc->store.tables[0].thinningLines[0] = std::string(length, 'x');
    Bytes bytes = writeStandFile(*doc);
    EXPECT_EQ(Bytes(bytes.begin() + 24, bytes.begin() + 24 + std::ssize(prefix)), prefix);
    ASSERT_TRUE(readStandFile(bytes, *doc).ok());
    EXPECT_EQ(doc->store.tables[0].thinningLines[0], std::string(std::min(length, 300ul), 'x'));
  }
  // Other writers' forms: UTF-16 with either length form, and the 32-bit length.
  const Bytes base = writeStandFile(*fresh());
  for (const auto& [form, text] :
       {std::pair<Bytes, std::string>{{0xFF, 0xFE, 0xFF, 3, 'O', 0, 'B', 0, 0xAC, 0x20}, "OB?"},
        {{0xFF, 0xFE, 0xFF, 0xFF, 2, 0, 'O', 0, 0xE9, 0}, "O\xE9"},
        {{0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'O', 'B'}, "OB"}}) {
    Bytes bytes = base;
    splice(bytes, 16 + kBarkBasis, 3, form);
    auto back = fresh();
    ASSERT_TRUE(readStandFile(bytes, *back).ok());
    EXPECT_EQ(back->settings.barkBasis, text);
  }
}

using Change = std::function<void(Bytes&)>;

template <class Number>
Change putNumber(std::size_t at, Number v) {
  return [=](Bytes& b) {
    auto bits = std::bit_cast<std::conditional_t<sizeof v == 4, std::uint32_t, std::uint64_t>>(v);
    for (std::size_t i = 0; i < sizeof v; ++i)
      b.at(at + i) = static_cast<std::uint8_t>(bits >> (8 * i));
  };
}
Change putFloat(std::size_t at, float v) {
  return putNumber(at, v);
}
Change putDouble(std::size_t at, double v) {
  return putNumber(at, v);
}

TEST(StandFile, RefusedFilesLeaveTheDocumentUntouched) {
  const Bytes base = writeStandFile(*fresh(0));
  auto put = [](std::size_t at, int v) { return Change([=](Bytes& b) { putInt32(b, at, v); }); };
  const std::pair<const char*, Change> changes[] = {
      {"lastIndex 100", put(12, 100)},
      {"lastIndex -2", put(12, -2)},
      {"barLast 101", put(16 + 18, 101)},
      {"stockLast 101", put(kCounts, 101)},
      {"historyLast 30", put(kCounts + 4, 30)},
      {"financialLast 101", put(kCounts + 8, 101)},
      {"financialLast -2", put(kCounts + 8, -2)},
      {"historyCount 31", put(kDoc + kHistoryCount, 31)},
      {"fertAgesLast 101", put(kDoc + kFertAgesLast, 101)},
      {"label", [](Bytes& b) { std::fill_n(b.begin() + kHistory + 8, 24, 'A'); }},
      {"301-character line",
       [](Bytes& b) {
         splice(b, 16 + 8, 1, Bytes{0xFF, 0x2D, 0x01});
         b.insert(b.begin() + 16 + 11, 301, 'x');
       }},
      {"24-character log rule",
       [](Bytes& b) { splice(b, kDoc + kLogRuleName, 8, counted(24, 'A')); }},
      {"8-character bark basis",
       [](Bytes& b) { splice(b, kDoc + kBarkBasis, 3, counted(8, 'B')); }},
      {"two wide marks",
       [](Bytes& b) {
         splice(b, kDoc + kBarkBasis, 3, Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF});
       }},
      {"prefix past the end", [](Bytes& b) { b.resize(kDoc + kLogRuleName + 1); }},
      {"bar graph maximum NaN", putFloat(16 + 14, std::numeric_limits<float>::quiet_NaN())},
      {"interest infinite", putFloat(kDoc + kInterest, std::numeric_limits<float>::infinity())},
      {"basal area NaN", putDouble(kDoc + 8, std::numeric_limits<double>::quiet_NaN())},
      {"merchantability limit -infinite",
       putDouble(kDoc + kBarkBasis - 24, -std::numeric_limits<double>::infinity())},
      {"first history record NaN",
       [](Bytes& b) {
         putInt32(b, kCounts + 4, 0);
         putDouble(kHistory + 32, std::numeric_limits<double>::quiet_NaN())(b);
       }},
  };
  auto target = fresh(0);
  target->store.tables[0].titleLines[0] = "kept";
  target->remembered.growAge = 42;
  const Bytes before = writeStandFile(*target);
  for (const auto& [name, change] : changes) {
    Bytes bytes = base;
    change(bytes);
    StandFileResult result = readStandFile(bytes, *target);
    EXPECT_EQ(result.status, StandFileStatus::BadFormat) << name;
    EXPECT_EQ(result.message, "Unexpected file format.") << name;
  }
  for (int magic : {999999993, 0, -999999994}) {
    Bytes bytes = base;
    putInt32(bytes, 0, magic);
    StandFileResult result = readStandFile(bytes, *target);
    EXPECT_EQ(result.status, StandFileStatus::WrongVersion);
    EXPECT_EQ(result.message, "Unable to open the file.  The file has a different version number.");
  }
  EXPECT_EQ(writeStandFile(*target), before);
  EXPECT_TRUE(readStandFile(base, *target).ok());  // the base itself is fine
  // A record past the history's count is whatever the writer had in memory: still read.
  Bytes uncounted = base;
  putDouble(kHistory, std::numeric_limits<double>::quiet_NaN())(uncounted);
  EXPECT_TRUE(readStandFile(uncounted, *target).ok());
}

TEST(StandFile, EveryTruncationOfARealFileIsRefusedAndTrailingBytesAreIgnored) {
  auto doc = fresh();
  ASSERT_NO_FATAL_FAILURE(runRegime(*doc, 1));
  Bytes bytes = writeStandFile(*doc);
  auto target = fresh(0);
  const Bytes before = writeStandFile(*target);
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    ASSERT_EQ(readStandFile(std::span(bytes.data(), length), *target).status,
              StandFileStatus::BadFormat)
        << length;
  }
  EXPECT_EQ(writeStandFile(*target), before);
  bytes.insert(bytes.end(), {1, 2, 3});
  ASSERT_TRUE(readStandFile(bytes, *target).ok());
  EXPECT_EQ(target->store.tables[0].titleLines, doc->store.tables[0].titleLines);
}

class StandFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    std::ofstream(path, std::ios::binary) << "previous version";
    ASSERT_NO_FATAL_FAILURE(runRegime(*doc, 3));
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove_all(dir);
  }
  static Bytes contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::ptrdiff_t files() const { return std::distance(fs::directory_iterator(dir), {}); }
  void expectOldFileKept(const StandFileResult& result, const std::string& named) {
    EXPECT_EQ(result.status, StandFileStatus::FileError);
    EXPECT_NE(result.message.find('"' + named + '"'), std::string::npos) << result.message;
    EXPECT_EQ(contents(path),
              Bytes(std::begin("previous version"), std::end("previous version") - 1));
  }
  const fs::path dir =
      fs::temp_directory_path() / ("keldovar-stand-file-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  const std::string path = dir / "stand.kdv";
  std::unique_ptr<DocumentContent> doc = fresh();
};

TEST_F(StandFileOnDisk, SaveReplacesTheFileKeepingItsPermissionsAndOpenReadsItBack) {
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, mode);
  ASSERT_TRUE(saveStandFile(path, *doc).ok());
  EXPECT_EQ(contents(path), writeStandFile(*doc));
  EXPECT_EQ(fs::status(path).permissions(), mode);
  EXPECT_EQ(files(), 1);

  auto back = fresh();
  ASSERT_TRUE(openStandFile(path, *back).ok());
  EXPECT_EQ(writeStandFile(*back), writeStandFile(*doc));
  std::string missing = dir / "missing.kdv";
  StandFileResult result = openStandFile(missing, *back);
  EXPECT_EQ(result.status, StandFileStatus::FileError);
  EXPECT_NE(result.message.find('"' + missing + '"'), std::string::npos);
}

TEST_F(StandFileOnDisk, FailedSaveKeepsThePreviousVersionAndLeavesNoTemporaryFile) {
  // A file-size limit below the file's size fails the write the way a full disk does.
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  rlimit small = limit;
  small.rlim_cur = 1024;
  auto handler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  StandFileResult result = saveStandFile(path, *doc);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, handler);
  expectOldFileKept(result, path);
  EXPECT_EQ(files(), 1);

  // A folder cannot be replaced by a file: the rename fails after a complete write.
  std::string folder = dir / "folder.kdv";
  fs::create_directory(folder);
  expectOldFileKept(saveStandFile(folder, *doc), folder);
  EXPECT_EQ(files(), 2);

  if (::geteuid() != 0) {  // folder permissions do not stop the superuser
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    expectOldFileKept(saveStandFile(path, *doc), path);
  }
}

}  // namespace
}  // namespace keldovar
