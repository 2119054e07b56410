// Undo Last Step: what a document held before each of its steps, so that the newest can be taken
// back as if it had never been taken.
#pragma once

#include <deque>
#include <optional>

#include "document/document_content.h"

namespace keldovar {

// A step changes only the store's indices, the newest table (a new slot, or the last one
// replaced in a full store), the snapshot and the remembered dialog values: those are kept
// before it, and put back as they were. The view options and the settings are not steps.
class UndoHistory {
 public:
  // So many steps can be taken back; older ones are forgotten.
  static constexpr std::size_t kCapacity = kTableCapacity;

  // Before a step: the document as it is, and whether it had unsaved changes.
  void begin(const DocumentContent& content, bool modified);
  // After it: kept when it changed the document, dropped when it was refused or cancelled.
  void end(bool changed);
  // Any change that marks the document modified, the steps' own included, and every Save:
  // undoing back past either leaves changes the file does not have.
  void changed() { ++changes_; }
  void saved() { ++saves_; }
  // Reset View and a whole new content: nothing before them can be taken back.
  void clear();

  bool canUndo() const { return !steps_.empty(); }
  // Puts the newest step's "before" back into `content`; the answer is whether the document
  // then has unsaved changes: as before the step when nothing else changed and nothing was
  // saved since. Nothing happens (and nothing is returned) without a step.
  std::optional<bool> undo(DocumentContent& content);

 private:
  struct Before {
    int lastIndex = -1;
    int firstShown = 0;
    int stepTable = 0;
    bool showAllTables = true;
    StandSnapshot snapshot;
    RememberedValues remembered;
    std::optional<ReportTable> lastTable;  // only when the store is full
    bool modified = false;
    long long saves = 0;
    long long changesBefore = 0;  // the count of changes before the step, and once it was taken
    long long changesAfter = 0;
  };

  std::deque<Before> steps_;
  std::optional<Before> pending_;
  long long saves_ = 0;
  long long changes_ = 0;
};

// What View All Tables does to the store's shown tables when it is turned on or off.
void showAllTables(TableStore& store, bool on);

}  // namespace keldovar
