// What an autosave costs the user interface's thread: building a 100-table document's stand
// file and its record and handing them to the worker, which writes them meanwhile.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "tests/gui/recovery_rig.h"

namespace keldovar::bench {
namespace {

void BM_AutosaveUiThread100Tables(benchmark::State& state) {
  test::SteppedDocument document;
  for (int n = 0; n < kTableCapacity; ++n) {
    if (!document.step(n)) {
      state.SkipWithError("a step failed");
      return;
    }
  }
  QTemporaryDir folder;
  RecoveryManager::Options options;
  options.folder = folder.path();
  RecoveryManager manager(options);
  if (!manager.start()) {
    state.SkipWithError("the recovery folder cannot be used");
    return;
  }
  for (auto _ : state) {
    // A document's first change is written at once, so a new one each time is always due.
    int id = manager.newDocumentId();
    manager.documentChanged(id, {QString(), 1}, document.controller());
    state.PauseTiming();
    manager.documentClosed(id);
    manager.waitForWrites();
    state.ResumeTiming();
  }
  if (manager.lastWriteError() != 0) state.SkipWithError("a copy could not be written");
  state.counters["bytes"] = static_cast<double>(document.bytes().size());
  manager.shutdown();
}
BENCHMARK(BM_AutosaveUiThread100Tables)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace keldovar::bench
