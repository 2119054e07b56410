// A forest of stands: stands a second a core through a five-step prescription (on one and two
// threads, and written to SQLite through keldovar-cli inventory), and through the search of the
// example space, 16,401 candidates a stand.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli/command_line.h"
#include "cli/optimize.h"
#include "forest/csv_reader.h"
#include "forest/forest_run.h"
#include "forest/result_record.h"
#include "forest/stand_run.h"
#include "tests/cli/inventory_maker.h"

namespace keldovar::bench {
namespace {

constexpr int kStands = 1000;

forest::CheckedInventory inventoryOf(int stands) {
  cli::MadeInventory made = cli::makeInventory(stands, 20240);
  forest::InventoryRead read = forest::readCsvInventory(made.csv, "bench.csv");
  return forest::checkInventory(read.inventory);
}

// Makes each stand's record, as every output does, and keeps nothing.
class RecordSink final : public forest::StandSink {
 public:
  void stand(const forest::StandResult& result) override {
    benchmark::DoNotOptimize(forest::recordOf(result).stand.data());
  }
};

void setRate(benchmark::State& state, int stands) {
  state.counters["stands/s/core"] =
      benchmark::Counter(static_cast<double>(stands) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}

// 1,000 stands (a tenth of them bad rows) through the prescription; processor time of the
// whole process, so that the rate is a core's.
void BM_InventoryPrescription(benchmark::State& state) {
  forest::CheckedInventory inventory = inventoryOf(kStands);
  forest::RegimeTemplate prescription =
      forest::readTemplate(cli::kPrescription, "prescription.kdr");
  forest::Plan plan;
  plan.regime = &prescription;
  forest::ForestOptions options;
  options.jobs = static_cast<int>(state.range(0));
  RecordSink sink;
  for (auto _ : state) forest::runForest(inventory, plan, options, sink);
  setRate(state, kStands);
}
BENCHMARK(BM_InventoryPrescription)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The same through keldovar-cli inventory in this process, read from a CSV file and written to
// a SQLite file: what the outputs add.
void BM_InventoryPrescriptionToSqlite(benchmark::State& state) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("keldovar-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::string stands = (folder / "stands.csv").string();
  std::string regime = (folder / "prescription.kdr").string();
  std::string out = (folder / "forest.sqlite").string();
  std::ofstream(stands) << cli::makeInventory(kStands, 20240).csv;
  std::ofstream(regime) << cli::kPrescription;
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream text, errors;
    cli::runCli({"inventory", stands, "--regime", regime, "--jobs", "1", "--out", out}, in, text,
                errors);
  }
  std::filesystem::remove_all(folder);
  setRate(state, kStands);
}
BENCHMARK(BM_InventoryPrescriptionToSqlite)->Unit(benchmark::kMillisecond);

// Three stands, one of each kind, each searched over the example space.
void BM_InventoryExampleSpace(benchmark::State& state) {
  std::ifstream file(std::string(KELDOVAR_EXAMPLES_DIR) + "/best-regime.space");
  std::stringstream text;
  text << file.rdbuf();
  std::string space = text.str();
  space.erase(space.find("start ="),
              space.find('\n', space.find("start =")) - space.find("start =") + 1);
  cli::ParsedSpace parsed = cli::parseSearchSpace(space, cli::SpaceStart::FromStand);
  forest::SpacePlan searched{parsed.space, parsed.startLines};
  forest::Plan plan;
  plan.space = &searched;
  forest::CheckedInventory inventory = forest::checkInventory(
      forest::readCsvInventory(
          "stand,acres,kind,age,trees,ba,si,thinage,pcttrees,survival,control\n"
          "P,10,plantation,,600,,65,,,85,herbwoody\n"
          "U,10,unthinned,10,600,80,65,,,,\n"
          "T,10,thinned,14,300,70,65,12,30,,\n",
          "three.csv")
          .inventory);
  forest::ForestOptions options;
  RecordSink sink;
  std::int64_t candidates = 0;
  for (auto _ : state) forest::runForest(inventory, plan, options, sink);
  for (const forest::StandEntry& entry : inventory.stands) {
    candidates += forest::runStand(entry, plan).candidates.value_or(0);
  }
  state.counters["candidates/stand"] = static_cast<double>(candidates) / 3;
  setRate(state, 3);
}
BENCHMARK(BM_InventoryExampleSpace)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keldovar::bench
