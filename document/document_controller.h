// One document's command flow: every step restores the shared engine from this document's
// store, runs, and stores its output as a new table; plus Fertilize, the settings commands,
// the view options and Reset View. The desktop program and the batch runner both drive it.
#pragma once

#include <string>

#include "document/bar_graph.h"
#include "document/document_content.h"
#include "document/prompt_hooks.h"
#include "document/prompts.h"
#include "document/settings_store.h"
#include "document/undo_history.h"
#include "engine/engine.h"

namespace keldovar {

// The engine and the current bar graph, shared by every document of a program run, and which
// document's newest table the engine's outputs hold, if any: that document's next step need not
// copy it back.
struct Session {
  explicit Session(const Clock* clock = nullptr) : engine(nullptr, clock) {}
  Engine engine;
  BarGraph barGraph;
  // The document whose steps the engine ran last; any other starts from a clean engine.
  const void* holder = nullptr;
  const void* outputsOf = nullptr;
};

// Where the window scrolls after a change: nowhere, the newest table's summary at the top, or
// the report's top-left corner.
enum class ViewScroll { Keep, Newest, Origin };

// What the window does when the document changed: lay out again, clear the selection, scroll
// and repaint. The defaults do nothing, for callers without a window.
class DocumentListener {
 public:
  virtual ~DocumentListener() = default;
  // A step stored a table; scroll so that the newest table's summary is at the top.
  virtual void tableStored(bool scrollToNewest) { (void)scrollToNewest; }
  // An option or setting changed what is drawn.
  virtual void viewChanged(ViewScroll scroll) { (void)scroll; }
  virtual void documentReset() {}
  virtual void modifiedChanged(bool modified) { (void)modified; }
  // Something the stand file holds changed: a stored step, a fertilization, a settings
  // command or an option. Called last, once the document is in its new state.
  virtual void contentChanged() {}
};

// The window side of Reset View's save question.
class DocumentHost {
 public:
  enum class Answer { Yes, No, Cancel };
  virtual ~DocumentHost() = default;
  virtual Answer askSaveBeforeReset(const std::string& question) = 0;
  // Runs the Save command; the controller is marked saved by it when it succeeds.
  virtual void save() = 0;
};

class DocumentController final {
 public:
  DocumentController(Session& session, Prompts& prompts, SettingsStore& settingsStore,
                     const DocumentSettings& settings, const ViewOptions& options);
  ~DocumentController();
  DocumentController(const DocumentController&) = delete;
  DocumentController& operator=(const DocumentController&) = delete;

  // Steps; each returns true when it stored a table, and lastStepResult() tells how it ended.
  // A step started while another step of any document is asking is refused (Busy) without
  // touching the engine or this document.
  bool initialize(int kind);
  bool treat(int action);
  bool grow();
  // Records a fertilization request in the snapshot; true when one was recorded.
  bool fertilize();
  // Undo Last Step: the document as it was before its newest step (a fertilization included),
  // exactly, so that a save writes the file the document had without that step. False when no
  // step of this document's life since it was made, opened or reset is left to take back.
  bool undo();
  bool canUndo() const { return undo_.canUndo(); }
  // For a document no one takes steps back from (a script's): its steps keep no undo records.
  void keepNoUndo() { keepUndo_ = false; }

  // The settings commands; true when the dialog was accepted.
  bool financialValues();
  bool merchLimits();
  void toggleFinancial();
  void toggleBargraph();
  void toggleCarbon();
  // The carbon price and baseline the report and the economics value carbon at.
  void setCarbonValues(const CarbonValues& values);
  // Metric Units is the program's, not the document's: the shell sets it on every document.
  void setUnits(UnitSystem units);
  void toggleAllTables();
  // False when the user cancelled or the save failed; the document is unchanged then.
  bool resetView(DocumentHost& host, const std::string& title);
  void switchTraceOff();

  // Restores the shared engine from this document as before its next step, and returns the
  // stand it then holds: where a stand stepper goes on from.
  const StandState& standForNextStep();

  const DocumentContent& content() const { return content_; }
  const TableStore& store() const { return content_.store; }
  const ViewOptions& options() const { return content_.options; }
  // A new document, as the constructor makes it, on the session's engine made new as well; the
  // store keeps the tables it allocated for the next document's steps to write over.
  void startOver(const DocumentSettings& settings, const ViewOptions& options);
  // Replaces the whole document, as opening a stand file does; the document is then unmodified.
  void replaceContent(DocumentContent content);
  // Replaces the whole document with one made elsewhere and never saved: it is modified.
  void adoptContent(DocumentContent content);
  // A document never continued from an earlier table (the regime search's many) need not keep
  // the state of each table.
  void setKeepsTableStates(bool keeps) { keepsTableStates_ = keeps; }
  bool modified() const { return modified_; }
  void markSaved();
  // A document read from a recovery copy holds changes its file does not have yet.
  void markModified();
  StepResult lastStepResult() const { return lastStepResult_; }
  void setListener(DocumentListener* listener);
  Prompts& prompts() { return prompts_; }

 private:
  bool refusedWhileBusy();
  void takeEngine();
  bool conclude(StepResult result, int old);
  void beginStep();
  void restore();
  void tablesReplaced();
  void storeTables();
  void abortStep();
  void succeed(int old);
  void setModified(bool modified);
  // The "Modified" mark only, as Undo Last Step finds it.
  void showModified(bool modified);
  // A step between begin and end of its undo record.
  template <class Step>
  bool undoable(Step step);
  void writeOption(const char* key, bool value);
  DocumentListener& listener();

  Session& session_;
  Prompts& prompts_;
  SettingsStore& settingsStore_;
  DocumentContent content_;
  // The engine's prompts, answered through the prompts with this document's remembered values.
  PromptHooks hooks_;
  bool modified_ = false;
  bool keepsTableStates_ = true;
  StepResult lastStepResult_ = StepResult::Stored;
  DocumentListener* listener_ = nullptr;
  DocumentListener quietListener_;
  UndoHistory undo_;
  bool keepUndo_ = true;
};

}  // namespace keldovar
