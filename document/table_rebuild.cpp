// Taking a document's steps again from its tables, for the states a stand file does not keep.
#include "document/table_rebuild.h"

#include <cstring>
#include <string>

#include "document/document_controller.h"

namespace keldovar {
namespace {

enum class Action { Initialize, Grow, Treat };

// What one step's dialogs answer.
struct Answers {
  std::optional<UnthinnedEntry> unthinned;
  std::optional<ThinnedEntry> thinned;
  std::optional<PercentRemovedEntry> percentRemoved;
  std::optional<PlantationEntry> plantation;
  std::optional<int> growAge;
  std::optional<float> residualBA;
  std::optional<float> thinToDBH;
  int lowMethod = 0;
  std::optional<RowLowEntry> rowLow;
};

struct Candidate {
  Action action = Action::Grow;
  int kind = 0;  // the StandKind of an initialization, the Treatment of a treatment
  Answers answers;
  bool fertilizeFirst = false;
};

class ReplayPrompts final : public Prompts {
 public:
  Answers answers;
  FertilizeEntry fertilizer;

  void showMessage(const Message&) override {}
  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues&) override {
    return answers.unthinned;
  }
  std::optional<ThinnedEntry> askThinned(const RememberedValues&) override {
    return answers.thinned;
  }
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues&) override {
    return answers.percentRemoved;
  }
  std::optional<PlantationEntry> askPlantation(const RememberedValues&) override {
    return answers.plantation;
  }
  std::optional<int> askGrowAge(const StandFacts&) override { return answers.growAge; }
  std::optional<float> askResidualBA(const RememberedValues&, const StandFacts&) override {
    return answers.residualBA;
  }
  std::optional<float> askThinToDBH(const RememberedValues&, const StandFacts&) override {
    return answers.thinToDBH;
  }
  int askLowThinMethod() override { return answers.lowMethod; }
  std::optional<RowLowEntry> askRowLow(const RememberedValues&, const StandFacts&) override {
    return answers.rowLow;
  }
  std::optional<FertilizeEntry> askFertilize() override { return fertilizer; }
  std::optional<FinanceEntry> askFinance(const FinancialValues&) override { return std::nullopt; }
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings&) override {
    return std::nullopt;
  }
};

std::string labelAt(const ReportTable& table, int index) {
  if (index < 0 || index >= kHistoryCapacity) return "";
  const char* label = table.history[static_cast<std::size_t>(index)].label;
  return std::string(label, strnlen(label, kLabelLength));
}

Candidate treatment(int action, Answers answers = {}) {
  return Candidate{Action::Treat, action, answers, false};
}

// The growth, thinning or harvest whose record the step completed at `count`.
void addTreatments(std::vector<Candidate>& out, const ReportTable& table, int count,
                   const RememberedValues& last) {
  std::string label = labelAt(table, count);
  std::string next = labelAt(table, count + 1);
  if (label == "Harvest") out.push_back(treatment(kHarvest));
  int grown = label == "Projected" ? count : label == "Fertilization" ? count + 1 : -1;
  if (grown >= 0 && labelAt(table, grown) == "Projected") {
    Answers answers;
    answers.growAge = static_cast<int>(table.history[static_cast<std::size_t>(grown)].age);
    out.push_back(Candidate{Action::Grow, 0, answers, false});
  }
  if (next != "Residual after Thinning") return;
  Answers answers;
  // A thinning leaves exactly the basal area its dialog was given.
  double residual = table.history[static_cast<std::size_t>(count + 1)].basal_area;
  answers.residualBA = static_cast<float>(residual);
  if (label == "Thinomatic Thinning") out.push_back(treatment(kThinomatic, answers));
  if (label == "Row Thinning") out.push_back(treatment(kRowThin, answers));
  if (label == "Low Thinning") {
    answers.lowMethod = static_cast<int>(LowThinChoice::ByBasalArea);
    out.push_back(treatment(kLowThin, answers));
    Answers byDiameter;
    byDiameter.lowMethod = static_cast<int>(LowThinChoice::ByDBH);
    byDiameter.thinToDBH = last.thinToDBH;
    out.push_back(treatment(kLowThin, byDiameter));
  }
  if (label == "Row/Low Thinning") {
    Answers rowLow;
    rowLow.rowLow = RowLowEntry{residual, static_cast<double>(last.rowLowPercent)};
    out.push_back(treatment(kRowAndLowThin, rowLow));
  }
}

void addInitializations(std::vector<Candidate>& out, const ReportTable& table,
                        const RememberedValues& r) {
  std::string label = labelAt(table, 1);
  Answers answers;
  if (label == "Initialized Unthinned") {
    answers.unthinned = UnthinnedEntry{r.unthinnedTrees, r.unthinnedAge, r.unthinnedBasalArea,
                                       r.unthinnedHeight, r.unthinnedSiteIndex};
    out.push_back(Candidate{Action::Initialize, kExistingUnthinned, answers, false});
  }
  if (label == "Initialized Thinned") {
    answers.thinned = ThinnedEntry{r.thinnedAge,     r.thinnedBasalArea, r.thinnedTrees,
                                   r.thinnedThinAge, r.thinnedHeight,    r.thinnedSiteIndex};
    answers.percentRemoved = PercentRemovedEntry{r.pctTrees, r.pctBasalArea};
    out.push_back(Candidate{Action::Initialize, kExistingThinned, answers, false});
  }
  if (label == "Initialized Plantation") {
    // The vegetation control is remembered nowhere: the table tells which one it was.
    for (VegetationControl control :
         {VegetationControl::None, VegetationControl::Woody, VegetationControl::HerbAndWoody}) {
      answers.plantation =
          PlantationEntry{r.plantSiteIndex, r.plantTrees, r.plantSurvival, control};
      out.push_back(Candidate{Action::Initialize, kNewPlantation, answers, false});
    }
  }
}

// Every step that may have made `table` after a document stood at `now`: a treatment of the
// stand first, a new initialization after; each also after a fertilization when the document
// was ever fertilized.
std::vector<Candidate> candidatesFor(const ReportTable& table, const StandSnapshot& now,
                                     const DocumentContent& source) {
  std::vector<Candidate> steps;
  if (now.initialized != 0) addTreatments(steps, table, now.historyCount, source.remembered);
  addInitializations(steps, table, source.remembered);
  std::vector<Candidate> all = steps;
  bool fertilized = source.store.snapshot.fFert_Nitrogen != -1.0f;
  for (Candidate step : steps) {
    if (!fertilized || now.initialized == 0 || step.action == Action::Initialize) continue;
    step.fertilizeFirst = true;
    all.push_back(step);
  }
  return all;
}

bool runCandidate(DocumentController& controller, ReplayPrompts& prompts, const Candidate& c) {
  prompts.answers = c.answers;
  if (c.fertilizeFirst && !controller.fertilize()) return false;
  switch (c.action) {
    case Action::Initialize:
      return controller.initialize(c.kind);
    case Action::Grow:
      return controller.grow();
    case Action::Treat:
      return controller.treat(c.kind);
  }
  return false;
}

// Lines `from` to `last` of two tables' line arrays (or their financial lines) read the same.
template <typename Lines>
bool sameLines(const Lines& a, const Lines& b, int from, int last) {
  for (int i = from; i <= last && i < static_cast<int>(a.size()); ++i) {
    auto k = static_cast<std::size_t>(i);
    if (a[k].view() != b[k].view()) return false;
  }
  return true;
}

bool sameRecord(const HistoryRecord& a, const HistoryRecord& b) {
  return a.age == b.age && strncmp(a.label, b.label, kLabelLength) == 0 && a.trees == b.trees &&
         a.basal_area == b.basal_area && a.volume == b.volume && a.cords == b.cords &&
         a.topcords == b.topcords && a.bdft == b.bdft;
}

bool sameGraph(const BarGraph& a, const BarGraph& b) {
  if (a.barLast != b.barLast || a.barAge != b.barAge) return false;
  if (a.barLast >= 0 && a.barMax != b.barMax) return false;
  for (int n = 0; n <= a.barLast && n < kBarCapacity; ++n) {
    auto k = static_cast<std::size_t>(n);
    const BarRect& r = a.bars[k];
    const BarRect& s = b.bars[k];
    if (r.left != s.left || r.top != s.top || r.right != s.right || r.bottom != s.bottom ||
        a.barValue[k] != b.barValue[k] || a.barClass[k] != b.barClass[k]) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool sameStepTable(const ReportTable& made, const ReportTable& stored, int historyCount) {
  const ReportTable& a = made;
  const ReportTable& b = stored;
  if (a.hasStandTable != b.hasStandTable || a.hasThinningReport != b.hasThinningReport ||
      a.financialLast != b.financialLast || a.historyLast != b.historyLast ||
      a.stockLast != b.stockLast || a.barkBasis != b.barkBasis || a.logRuleName != b.logRuleName ||
      a.merchLimit != b.merchLimit) {
    return false;
  }
  // Line 0 of the financial analysis, the history and the stock title carry the time stamp.
  if (a.hasThinningReport != 0 && !sameLines(a.thinningLines, b.thinningLines, 0, kThinLineCount))
    return false;
  if (!sameLines(a.financialLines, b.financialLines, 1, a.financialLast)) return false;
  if (a.historyLast >= 0 && !sameLines(a.historyText, b.historyText, 1, kHistoryTextLineCount))
    return false;
  if (!sameLines(a.beforeStockLines, b.beforeStockLines, 1, 1) ||
      !sameLines(a.afterStockLines, b.afterStockLines, 0, 1) ||
      !sameLines(a.titleLines, b.titleLines, 0, kSummaryLineCount)) {
    return false;
  }
  for (int r = 0; r <= a.stockLast && r < kStockRowCapacity; ++r) {
    auto k = static_cast<std::size_t>(r);
    for (int c = 0; c < 8; ++c) {
      if (a.stock[k][static_cast<std::size_t>(c)] != b.stock[k][static_cast<std::size_t>(c)])
        return false;
    }
  }
  for (int i = 0; i < historyCount && i < kHistoryCapacity; ++i) {
    auto k = static_cast<std::size_t>(i);
    if (!sameRecord(a.history[k], b.history[k])) return false;
  }
  return sameGraph(a.bar, b.bar);
}

std::optional<std::vector<TableState>> rebuildTableStates(const DocumentContent& source, int last,
                                                          int& failedAt) {
  FixedClock clock{LocalTime{}};
  MemorySettingsStore settingsStore;
  ReplayPrompts prompts;
  const StandSnapshot& final = source.store.snapshot;
  prompts.fertilizer = FertilizeEntry{final.fFert_Nitrogen, final.bFert_Phosphorus != 0};
  DocumentContent start;
  start.settings = source.settings;
  start.options = source.options;
  resetSnapshot(start.store.snapshot);
  std::vector<TableState> states;
  for (int i = 0; i <= last; ++i) {
    const ReportTable& stored = source.store.tables[static_cast<std::size_t>(i)];
    std::optional<DocumentContent> made;
    for (const Candidate& candidate : candidatesFor(stored, start.store.snapshot, source)) {
      // Each try on an engine left as the document's previous step left it.
      Session session(&clock);
      if (const ReportTable* previous = start.store.newest()) {
        copyTableToEngine(*previous, session.engine, session.barGraph);
        applySnapshot(start.store.snapshot, session.engine.state());
      }
      DocumentController controller(session, prompts, settingsStore, source.settings,
                                    source.options);
      controller.replaceContent(start);
      if (!runCandidate(controller, prompts, candidate)) continue;
      const TableStore& store = controller.store();
      if (sameStepTable(*store.newest(), stored, store.snapshot.historyCount)) {
        made = controller.content();
        break;
      }
    }
    if (!made) {
      failedAt = i;
      return std::nullopt;
    }
    states.push_back(*made->tableStates.back());
    // The next step starts from the stored table, as it did in the document.
    start.store = TableStore{};
    start.store.tables[0] = stored;
    start.store.lastIndex = 0;
    start.store.snapshot = made->store.snapshot;
    start.remembered = made->remembered;
    start.tableStates.clear();
  }
  return states;
}

}  // namespace keldovar
