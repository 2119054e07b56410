// The step protocol around each engine call, and the document commands that need no engine.
#include "document/document_controller.h"

#include <algorithm>
#include <utility>

#include "document/stand_stepper.h"
#include "engine/report_text.h"

namespace keldovar {

namespace {

constexpr const char* kAborted = "Returning to previous conditions. Function aborted.";

}  // namespace

DocumentController::DocumentController(Session& session, Prompts& prompts,
                                       SettingsStore& settingsStore,
                                       const DocumentSettings& settings, const ViewOptions& options)
    : session_(session),
      prompts_(prompts),
      settingsStore_(settingsStore),
      hooks_(prompts, content_.remembered, session.engine, &session.barGraph) {
  content_.settings = settings;
  content_.options = options;
  resetSnapshot(content_.store.snapshot);
  session_.engine.state().financial = settings.financial;
}

DocumentController::~DocumentController() {
  // A controller made later at the same address must not take the engine for its own.
  if (session_.holder == this) session_.holder = nullptr;
  if (session_.outputsOf == this) session_.outputsOf = nullptr;
}

DocumentListener& DocumentController::listener() {
  return listener_ != nullptr ? *listener_ : quietListener_;
}

void DocumentController::setListener(DocumentListener* listener) {
  listener_ = listener;
}

void DocumentController::setModified(bool modified) {
  if (modified) undo_.changed();
  showModified(modified);
}

void DocumentController::showModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  listener().modifiedChanged(modified);
}

void DocumentController::markSaved() {
  undo_.saved();
  setModified(false);
}

template <class Step>
bool DocumentController::undoable(Step step) {
  if (!keepUndo_) return step();
  undo_.begin(content_, modified_);
  bool changed = step();
  undo_.end(changed);
  return changed;
}

bool DocumentController::undo() {
  std::optional<bool> modified = undo_.undo(content_);
  if (!modified) return false;
  // The engine's outputs are the undone step's table, no longer this document's newest.
  tablesReplaced();
  showModified(*modified);
  if (content_.store.lastIndex < 0) {
    listener().documentReset();
  } else {
    listener().tableStored(content_.store.lastIndex > 0);
  }
  listener().contentChanged();
  return true;
}

void DocumentController::markModified() {
  setModified(true);
}

void DocumentController::startOver(const DocumentSettings& settings, const ViewOptions& options) {
  TableStore& store = content_.store;
  store.lastIndex = -1;
  store.firstShown = 0;
  store.stepTable = 0;
  store.snapshot = StandSnapshot{};
  resetSnapshot(store.snapshot);
  content_.settings = settings;
  content_.remembered = RememberedValues{};
  content_.options = options;
  content_.carbon = CarbonValues{};
  modified_ = false;
  lastStepResult_ = StepResult::Stored;
  tablesReplaced();
  session_.engine.startOver();
  session_.barGraph = BarGraph{};
  session_.engine.state().financial = settings.financial;
}

void DocumentController::tablesReplaced() {
  if (session_.outputsOf == this) session_.outputsOf = nullptr;
}

void DocumentController::replaceContent(DocumentContent content) {
  // Not carried by stand files.
  bool showAll = content_.options.showAllTables;
  bool showCarbon = content_.options.showCarbon;
  UnitSystem units = content_.options.units;
  CarbonValues carbon = content_.carbon;
  tablesReplaced();
  content_ = std::move(content);
  content_.options.showAllTables = showAll;
  content_.options.showCarbon = showCarbon;
  content_.options.units = units;
  content_.carbon = carbon;
  undo_.clear();
  setModified(false);
  listener().documentReset();
}

void DocumentController::adoptContent(DocumentContent content) {
  replaceContent(std::move(content));
  setModified(true);
  // Nothing saved holds it: it is protected like any other change.
  listener().contentChanged();
}

// Every step, of any document, may change the engine's outputs: until it stores its table they
// are nobody's.
void DocumentController::beginStep() {
  session_.outputsOf = nullptr;
}

void DocumentController::restore() {
  Engine& engine = session_.engine;
  const TableStore& store = content_.store;
  if (store.lastIndex >= 0 && session_.outputsOf != this) {
    copyTableToEngine(store.tables[static_cast<std::size_t>(store.lastIndex)], engine,
                      session_.barGraph);
  }
  beginStep();
  applySnapshot(store.snapshot, engine.state());
  handOverSettings(content_.settings, engine.state());
}

const StandState& DocumentController::standForNextStep() {
  restore();
  return session_.engine.state();
}

void DocumentController::storeTables() {
  TableStore& store = content_.store;
  store.lastIndex += 1;
  if (store.lastIndex >= kTableCapacity) {
    store.lastIndex = kTableCapacity - 1;
    prompts_.showMessage({"", "Maximum number of tables has been reached, overwriting last table",
                          MessageIcon::Exclamation});
  }
  copyOutputsToTable(session_.engine, session_.barGraph,
                     store.tables[static_cast<std::size_t>(store.lastIndex)]);
  store.snapshot = takeSnapshot(session_.engine.state());
  session_.outputsOf = this;
  if (!keepsTableStates_) return;
  auto index = static_cast<std::size_t>(store.lastIndex);
  content_.tableStates.resize(index + 1);
  content_.tableStates[index] =
      TableState{store.snapshot, content_.settings, content_.remembered,
                 content_.options.showFinancial, content_.options.showBargraph};
}

void DocumentController::abortStep() {
  prompts_.showMessage({"", kAborted, MessageIcon::Information});
}

void DocumentController::succeed(int old) {
  storeTables();
  setModified(true);
  TableStore& store = content_.store;
  if (old == -1) {
    store.stepTable = 0;
    store.firstShown = 0;
  } else if (content_.options.showAllTables) {
    // A full store replaced its last table: that table is the newest step, not one past it.
    store.stepTable = std::min(old + 1, store.lastIndex);
    store.firstShown = 0;
  } else if (store.lastIndex > old) {
    store.firstShown = store.stepTable = old + 1;
  }
  listener().tableStored(store.lastIndex > 0);
  listener().contentChanged();
}

// Ends a step: an abort shows its message, a success stores the table. A step refused because
// another is still asking shows nothing: the asking step owns the engine and the screen.
bool DocumentController::conclude(StepResult result, int old) {
  lastStepResult_ = result;
  if (result == StepResult::Busy) return false;
  if (result != StepResult::Stored) {
    abortStep();
    return false;
  }
  succeed(old);
  return true;
}

bool DocumentController::refusedWhileBusy() {
  if (!session_.engine.stepRunning()) return false;
  lastStepResult_ = StepResult::Busy;
  return true;
}

// The engine keeps, past every count (history records, bar-graph classes, report lines), what
// the last document to use it left there, and a stored table copies those arrays whole. A
// document that takes the engine over therefore starts from a clean one, as a document of the
// batch runner does, so that its file holds nothing of another document; between its own
// steps it keeps the engine as it left it, as saved files rely on.
void DocumentController::takeEngine() {
  if (session_.holder == this) return;
  session_.holder = this;
  // Only the data goes: the hooks, the clock and the trace switch stay as they were.
  Engine& engine = session_.engine;
  int trace = engine.traceSwitch();
  engine = Engine(engine.installedHooks(), engine.clock());
  engine.setTraceSwitch(trace);
  session_.barGraph = BarGraph{};
  session_.outputsOf = nullptr;
  engine.state().financial = content_.settings.financial;
}

bool DocumentController::initialize(int kind) {
  if (refusedWhileBusy()) return false;
  takeEngine();
  return undoable([this, kind] {
    HooksScope scope(session_.engine, &hooks_);
    int old = content_.store.lastIndex;
    beginStep();
    session_.barGraph.barLast = -1;
    return conclude(session_.engine.initializeStep(kind, merchInputsOf(content_.settings)), old);
  });
}

bool DocumentController::treat(int action) {
  if (refusedWhileBusy()) return false;
  takeEngine();
  return undoable([this, action] {
    HooksScope scope(session_.engine, &hooks_);
    int old = content_.store.lastIndex;
    restore();
    // A harvest keeps the restored bar graph, as it keeps the stock table.
    if (action != kHarvest) session_.barGraph.barLast = -1;
    return conclude(session_.engine.treatStep(action), old);
  });
}

bool DocumentController::grow() {
  if (refusedWhileBusy()) return false;
  takeEngine();
  return undoable([this] {
    HooksScope scope(session_.engine, &hooks_);
    int old = content_.store.lastIndex;
    restore();
    session_.barGraph.barLast = -1;
    return conclude(session_.engine.growStep(), old);
  });
}

bool DocumentController::fertilize() {
  // This document's own stand decides, not whatever the shared engine last computed.
  return undoable([this] {
    if (!askFertilization(prompts_, content_.store.snapshot)) return false;
    // The request is saved with the document, so closing without saving must ask.
    setModified(true);
    listener().contentChanged();
    return true;
  });
}

bool DocumentController::financialValues() {
  auto entry = prompts_.askFinance(content_.settings.financial);
  if (!entry) return false;
  content_.settings.financial = entry->values;
  setModified(true);
  listener().contentChanged();
  const ReportTable* newest = content_.store.newest();
  if (newest != nullptr && newest->financialLast >= 0) {
    prompts_.showMessage({"",
                          "The current financial report data uses the previous values.\n Redo the "
                          "Harvest to use the new financial values.",
                          MessageIcon::Exclamation});
  }
  if (!entry->makeDefault) return true;
  for (const FinancialField& field : kFinancialFields) {
    std::string text = formatText("%0.2f", static_cast<double>(entry->values.*field.value));
    if (!settingsStore_.writeString(settings_keys::kOptions, field.settingsKey, text)) {
      prompts_.showMessage({"", kDefaultsNotSaved, MessageIcon::Exclamation});
      break;
    }
  }
  return true;
}

bool DocumentController::merchLimits() {
  auto entry = prompts_.askMerchLimits(content_.settings);
  if (!entry) return false;
  DocumentSettings& settings = content_.settings;
  settings.barkBasis = "OB";
  settings.merchLimit = static_cast<double>(entry->topDiameter);
  settings.merchLimitShown = entry->topDiameter;
  settings.sawThreshold = entry->sawThreshold;
  settings.pulpThreshold = entry->pulpThreshold;
  setModified(true);
  listener().contentChanged();
  if (entry->makeDefault) {
    using namespace settings_keys;
    std::string top = formatText("%0.2f", static_cast<double>(entry->topDiameter));
    bool written = settingsStore_.writeString(kOptions, kMerchLimit, top) &&
                   settingsStore_.writeInt(kOptions, kThresholdSaw, entry->sawThreshold) &&
                   settingsStore_.writeInt(kOptions, kThresholdPulp, entry->pulpThreshold);
    if (!written) {
      prompts_.showMessage({"", kDefaultsNotSaved, MessageIcon::Exclamation});
    }
  }
  if (content_.store.lastIndex >= 0) {
    prompts_.showMessage({"",
                          "Warning: due to Merchantability Limit changes the current output data "
                          "is invalid.  Please generate data again.",
                          MessageIcon::Exclamation});
    listener().viewChanged(ViewScroll::Keep);
  }
  return true;
}

void DocumentController::writeOption(const char* key, bool value) {
  settingsStore_.writeInt(settings_keys::kOptions, key, value ? 1 : 0);
}

void DocumentController::toggleFinancial() {
  content_.options.showFinancial = !content_.options.showFinancial;
  writeOption(settings_keys::kFinancial, content_.options.showFinancial);
  listener().viewChanged(ViewScroll::Keep);
  listener().contentChanged();
}

void DocumentController::toggleBargraph() {
  content_.options.showBargraph = !content_.options.showBargraph;
  writeOption(settings_keys::kBargraph, content_.options.showBargraph);
  listener().viewChanged(ViewScroll::Keep);
  listener().contentChanged();
}

void DocumentController::toggleCarbon() {
  content_.options.showCarbon = !content_.options.showCarbon;
  writeOption(settings_keys::kCarbon, content_.options.showCarbon);
  listener().viewChanged(ViewScroll::Keep);
}

void DocumentController::setUnits(UnitSystem units) {
  if (content_.options.units == units) return;
  content_.options.units = units;
  listener().viewChanged(ViewScroll::Keep);
}

void DocumentController::setCarbonValues(const CarbonValues& values) {
  content_.carbon = values;
  listener().viewChanged(ViewScroll::Keep);
}

void DocumentController::toggleAllTables() {
  TableStore& store = content_.store;
  ViewOptions& options = content_.options;
  options.showAllTables = !options.showAllTables;
  showAllTables(store, options.showAllTables);
  writeOption(settings_keys::kAllTables, options.showAllTables);
  listener().viewChanged(options.showAllTables ? ViewScroll::Newest : ViewScroll::Origin);
  listener().contentChanged();
}

bool DocumentController::resetView(DocumentHost& host, const std::string& title) {
  if (modified_) {
    std::string question = formatText("Save %s before resetting?", title.c_str());
    DocumentHost::Answer answer = host.askSaveBeforeReset(question);
    if (answer == DocumentHost::Answer::Cancel) return false;
    if (answer == DocumentHost::Answer::Yes) {
      host.save();
      if (modified_) return false;
    }
  }
  TableStore& store = content_.store;
  tablesReplaced();
  store.lastIndex = -1;
  store.firstShown = 0;
  store.stepTable = 0;
  content_.remembered = RememberedValues{};
  content_.tableStates.clear();
  resetSnapshot(store.snapshot);
  undo_.clear();
  setModified(false);
  listener().documentReset();
  return true;
}

void DocumentController::switchTraceOff() {
  session_.engine.setTraceSwitch(0);
}

}  // namespace keldovar
