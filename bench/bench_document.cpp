// The cost of a document: a regime through the per-document controller, the Select All text
// of a full document, and saving and opening a full stand file, in memory and on disk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/stand_file.h"
#include "bench/bench_time.h"
#include "document/document_controller.h"
#include "document/settings_store.h"
#include "document/table_store.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "view/copy_text.h"
#include "view/layout.h"
#include "view/pagination.h"
#include "view/selection.h"

namespace keldovar::bench {
namespace {

// ---------------------------------------------------------------------------------------------
// The per-document controller: restore, step, store.

// Every dialog answered from fixed values; the grow age is set before each grow.
class FixedPrompts final : public Prompts {
 public:
  int growAge = 0;
  float residualBA = 90;
  RowLowEntry rowLow{75, 33};
  int messages = 0;

  void showMessage(const Message&) override { ++messages; }
  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues&) override {
    return std::nullopt;
  }
  std::optional<ThinnedEntry> askThinned(const RememberedValues&) override { return std::nullopt; }
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues&) override {
    return std::nullopt;
  }
  std::optional<PlantationEntry> askPlantation(const RememberedValues&) override {
    return PlantationEntry{65, 600, 85, VegetationControl::HerbAndWoody};
  }
  std::optional<int> askGrowAge(const StandFacts&) override { return growAge; }
  std::optional<float> askResidualBA(const RememberedValues&, const StandFacts&) override {
    return residualBA;
  }
  std::optional<float> askThinToDBH(const RememberedValues&, const StandFacts&) override {
    return std::nullopt;
  }
  int askLowThinMethod() override { return 2; }
  std::optional<RowLowEntry> askRowLow(const RememberedValues&, const StandFacts&) override {
    return rowLow;
  }
  std::optional<FertilizeEntry> askFertilize() override { return FertilizeEntry{200, true}; }
  std::optional<FinanceEntry> askFinance(const FinancialValues&) override { return std::nullopt; }
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings&) override {
    return std::nullopt;
  }
};

// Reset View never saves here.
class NoSaveHost final : public DocumentHost {
 public:
  Answer askSaveBeforeReset(const std::string&) override { return Answer::No; }
  void save() override {}
};

// One document of a program run: the shared session, the prompts and the controller.
class DocumentRig {
 public:
  DocumentRig()
      : clock_(benchTime()),
        session_(&clock_),
        controller_(std::make_unique<DocumentController>(session_, prompts_, settings_,
                                                         DocumentSettings{}, ViewOptions{})) {}

  DocumentController& controller() { return *controller_; }
  FixedPrompts& prompts() { return prompts_; }

  bool grow(int age) {
    prompts_.growAge = age;
    return controller_->grow();
  }

  // Ten steps, the sawtimber regime of the plantation example: plant; grow to 12 and 16;
  // row-and-low thin; grow to 20 and 26; Thinomatic thin; grow to 30 and 32; harvest.
  bool regime() {
    DocumentController& c = *controller_;
    return c.initialize(kNewPlantation) && grow(12) && grow(16) && c.treat(kRowAndLowThin) &&
           grow(20) && grow(26) && c.treat(kThinomatic) && grow(30) && grow(32) &&
           c.treat(kHarvest);
  }
  static constexpr int kRegimeSteps = 10;

  bool resetView() { return controller_->resetView(host_, "Stand1"); }

  // A document holding the full 100 tables: the regime ten times over.
  bool fill() {
    for (int i = 0; i < kTableCapacity / kRegimeSteps; ++i) {
      if (!regime()) return false;
    }
    return controller_->store().count() == kTableCapacity;
  }

 private:
  FixedClock clock_;
  Session session_;
  FixedPrompts prompts_;
  MemorySettingsStore settings_;
  NoSaveHost host_;
  std::unique_ptr<DocumentController> controller_;
};

// A whole regime of ten steps; each iteration starts from Reset View, which is part of the
// figure (it only rewinds the store).
void BM_ControllerRegimeTenSteps(benchmark::State& state) {
  DocumentRig rig;
  bool ok = rig.regime();
  for (auto _ : state) {
    ok = rig.resetView() && rig.regime() && ok;
    benchmark::DoNotOptimize(ok);
  }
  if (!ok || rig.prompts().messages != 0) state.SkipWithError("a step of the regime failed");
  state.counters["tables"] = rig.controller().store().count();
  state.counters["perStep"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * DocumentRig::kRegimeSteps,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ControllerRegimeTenSteps)->Unit(benchmark::kMicrosecond);

// The controller's own share of a step: putting the newest table back into the engine before
// the step (restore), and copying the step's output into a new table after it (store).
void BM_ControllerRestoreTable(benchmark::State& state) {
  DocumentRig rig;
  if (!rig.regime()) {
    state.SkipWithError("the regime failed");
    return;
  }
  const TableStore& store = rig.controller().store();
  const ReportTable& table = store.tables[static_cast<std::size_t>(store.lastIndex)];
  FixedClock clock(benchTime());
  Engine engine(nullptr, &clock);
  BarGraph graph;
  for (auto _ : state) {
    copyTableToEngine(table, engine, graph);
    applySnapshot(store.snapshot, engine.state());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ControllerRestoreTable)->Unit(benchmark::kNanosecond);

void BM_ControllerStoreTable(benchmark::State& state) {
  DocumentRig rig;
  if (!rig.regime()) {
    state.SkipWithError("the regime failed");
    return;
  }
  const TableStore& store = rig.controller().store();
  FixedClock clock(benchTime());
  Engine engine(nullptr, &clock);
  BarGraph graph;
  copyTableToEngine(store.tables[static_cast<std::size_t>(store.lastIndex)], engine, graph);
  ReportTable table;
  for (auto _ : state) {
    copyOutputsToTable(engine, graph, table);
    benchmark::DoNotOptimize(takeSnapshot(engine.state()));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ControllerStoreTable)->Unit(benchmark::kNanosecond);

// ---------------------------------------------------------------------------------------------
// A full document: Select All and the stand file.

// The Select All text of 100 tables, financial reports shown.
void BM_SelectAllText100Tables(benchmark::State& state) {
  DocumentRig rig;
  if (!rig.fill()) {
    state.SkipWithError("the document could not be filled");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = selectAllText(rig.controller().store(), true);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["tables"] = rig.controller().store().count();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SelectAllText100Tables)->Unit(benchmark::kMicrosecond);

// The same text in metric: every table converted and its lines read and printed again.
void BM_SelectAllTextMetric100Tables(benchmark::State& state) {
  DocumentRig rig;
  if (!rig.fill()) {
    state.SkipWithError("the document could not be filled");
    return;
  }
  ReportOptions options{0, true, false};
  options.units = UnitSystem::Metric;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = selectAllText(rig.controller().store(), options, "\r\n");
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["tables"] = rig.controller().store().count();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SelectAllTextMetric100Tables)->Unit(benchmark::kMicrosecond);

// Text measured as the report font about measures it on screen: 0.32 inch lines and 0.17 inch
// characters.
const FixedPitchMetrics kScreenMetrics{32, 17};

// The screen's layout of 100 tables with every section shown, as after every stored step.
void BM_Layout100Tables(benchmark::State& state) {
  DocumentRig rig;
  if (!rig.fill()) {
    state.SkipWithError("the document could not be filled");
    return;
  }
  LayoutParams params;
  params.showBargraph = true;
  params.displayWidth = 1920;
  std::size_t items = 0;
  for (auto _ : state) {
    ReportLayout layout(rig.controller().store(), kScreenMetrics, params);
    items = 0;
    for (const TableLayout& t : layout.tables()) items += t.items.size();
    benchmark::DoNotOptimize(layout.docHeight());
  }
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_Layout100Tables)->Unit(benchmark::kMicrosecond);

// A print job's layout of 100 tables on letter paper and its page count.
void BM_PrintLayout100Tables(benchmark::State& state) {
  DocumentRig rig;
  if (!rig.fill()) {
    state.SkipWithError("the document could not be filled");
    return;
  }
  PageSetup setup = pageSetup(800, 1050, kScreenMetrics);
  int pages = 0;
  for (auto _ : state) {
    ReportLayout layout = printLayout(rig.controller().store(), kScreenMetrics, setup, true, true);
    pages = Pagination(layout, setup).pageCount();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintLayout100Tables)->Unit(benchmark::kMicrosecond);

// Copy with Select All on: the clipboard text of 100 tables.
void BM_CopySelectAll100Tables(benchmark::State& state) {
  DocumentRig rig;
  Selection selection;
  if (!rig.fill() || !selection.selectAllTables(rig.controller().store())) {
    state.SkipWithError("the document could not be filled");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = selection.copyText(rig.controller().store(), true);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CopySelectAll100Tables)->Unit(benchmark::kMicrosecond);

// A newly built document, as opening a stand file starts from, like the batch runner's report.
std::unique_ptr<DocumentContent> newDocument() {
  auto content = std::make_unique<DocumentContent>();
  resetSnapshot(content->store.snapshot);
  return content;
}

// The full document's content and its stand file bytes.
struct FullDocument {
  std::unique_ptr<DocumentContent> content;
  std::vector<std::uint8_t> bytes;
};

std::optional<FullDocument> fullDocument() {
  DocumentRig rig;
  if (!rig.fill()) return std::nullopt;
  FullDocument full;
  full.content = std::make_unique<DocumentContent>(rig.controller().content());
  full.bytes = writeStandFile(*full.content);
  auto check = newDocument();
  if (!readStandFile(full.bytes, *check).ok() || check->store.count() != kTableCapacity) {
    return std::nullopt;
  }
  return full;
}

// Building and dropping an empty document: part of every open below.
void BM_NewDocument(benchmark::State& state) {
  for (auto _ : state) {
    auto content = newDocument();
    benchmark::DoNotOptimize(content.get());
  }
  state.counters["bytes"] = static_cast<double>(sizeof(DocumentContent));
}
BENCHMARK(BM_NewDocument)->Unit(benchmark::kMicrosecond);

void BM_WriteStandFile100Tables(benchmark::State& state) {
  auto full = fullDocument();
  if (!full) {
    state.SkipWithError("the document could not be built");
    return;
  }
  for (auto _ : state) {
    std::vector<std::uint8_t> bytes = writeStandFile(*full->content);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(full->bytes.size());
}
BENCHMARK(BM_WriteStandFile100Tables)->Unit(benchmark::kMicrosecond);

// Reading into a newly built document (its construction included).
void BM_ReadStandFile100Tables(benchmark::State& state) {
  auto full = fullDocument();
  if (!full) {
    state.SkipWithError("the document could not be built");
    return;
  }
  bool ok = true;
  for (auto _ : state) {
    auto content = newDocument();
    ok = readStandFile(full->bytes, *content).ok() && ok;
    benchmark::DoNotOptimize(content.get());
  }
  if (!ok) state.SkipWithError("the stand file was refused");
  state.counters["bytes"] = static_cast<double>(full->bytes.size());
}
BENCHMARK(BM_ReadStandFile100Tables)->Unit(benchmark::kMicrosecond);

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "keldovar-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  bool ok() const { return !path_.empty(); }
  std::string file(const char* name) const {
    return (std::filesystem::path(path_) / name).string();
  }

 private:
  std::string path_;
};

// Save replaces an existing file each time, through a temporary file, fsync and rename.
void BM_SaveStandFile100Tables(benchmark::State& state) {
  auto full = fullDocument();
  TempFolder folder;
  if (!full || !folder.ok()) {
    state.SkipWithError("the document or the folder could not be set up");
    return;
  }
  const std::string path = folder.file("Stand1.kdv");
  bool ok = saveStandFile(path, *full->content).ok();
  for (auto _ : state) {
    ok = saveStandFile(path, *full->content).ok() && ok;
    benchmark::DoNotOptimize(ok);
  }
  if (!ok) state.SkipWithError("saving failed");
  state.counters["bytes"] = static_cast<double>(full->bytes.size());
}
BENCHMARK(BM_SaveStandFile100Tables)->Unit(benchmark::kMillisecond)->UseRealTime();

// The disk's part of a save, without the program: the same bytes written to a new file beside
// the target and renamed over it, with both fsync calls a durable save makes (file and folder),
// with the file's only, or with none. Save minus this is the program's own work.
enum class Sync { FileAndFolder, FileOnly, None };

bool replaceWithBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, Sync sync) {
  const std::string temp = path + ".bench.tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bool ok = done == bytes.size() && (sync == Sync::None || ::fsync(fd) == 0);
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (ok && sync == Sync::FileAndFolder) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = dir >= 0 && ::fsync(dir) == 0;
    if (dir >= 0) ::close(dir);
  }
  return ok;
}

void BM_DiskReplace(benchmark::State& state, Sync sync) {
  auto full = fullDocument();
  TempFolder folder;
  if (!full || !folder.ok()) {
    state.SkipWithError("the document or the folder could not be set up");
    return;
  }
  const std::string path = folder.file("Stand1.kdv");
  bool ok = replaceWithBytes(path, full->bytes, sync);
  for (auto _ : state) {
    ok = replaceWithBytes(path, full->bytes, sync) && ok;
    benchmark::DoNotOptimize(ok);
  }
  if (!ok) state.SkipWithError("writing failed");
  state.counters["bytes"] = static_cast<double>(full->bytes.size());
}
BENCHMARK_CAPTURE(BM_DiskReplace, fsyncFileAndFolder, Sync::FileAndFolder)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DiskReplace, fsyncFile, Sync::FileOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DiskReplace, noFsync, Sync::None)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Open reads the file into a newly built document.
void BM_OpenStandFile100Tables(benchmark::State& state) {
  auto full = fullDocument();
  TempFolder folder;
  if (!full || !folder.ok()) {
    state.SkipWithError("the document or the folder could not be set up");
    return;
  }
  const std::string path = folder.file("Stand1.kdv");
  bool ok = saveStandFile(path, *full->content).ok();
  for (auto _ : state) {
    auto content = newDocument();
    ok = openStandFile(path, *content).ok() && ok;
    benchmark::DoNotOptimize(content.get());
  }
  if (!ok) state.SkipWithError("opening failed");
  state.counters["bytes"] = static_cast<double>(full->bytes.size());
}
BENCHMARK(BM_OpenStandFile100Tables)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace keldovar::bench
