// Keeping and putting back what a step changes.
#include "document/undo_history.h"

#include <algorithm>

namespace keldovar {

void showAllTables(TableStore& store, bool on) {
  if (on) {
    store.stepTable = store.firstShown < 0 ? 0 : store.firstShown;
    store.firstShown = 0;
  } else {
    store.firstShown = std::clamp(store.stepTable, 0, std::max(store.lastIndex, 0));
  }
}

void UndoHistory::begin(const DocumentContent& content, bool modified) {
  const TableStore& store = content.store;
  Before before;
  before.lastIndex = store.lastIndex;
  before.firstShown = store.firstShown;
  before.stepTable = store.stepTable;
  before.showAllTables = content.options.showAllTables;
  before.snapshot = store.snapshot;
  before.remembered = content.remembered;
  // A full store replaces its last table instead of adding one.
  if (store.lastIndex == kTableCapacity - 1) before.lastTable = *store.newest();
  before.modified = modified;
  before.saves = saves_;
  before.changesBefore = changes_;
  pending_ = std::move(before);
}

void UndoHistory::end(bool stepChanged) {
  if (!pending_) return;
  if (stepChanged) {
    pending_->changesAfter = changes_;
    if (steps_.size() == kCapacity) steps_.pop_front();
    steps_.push_back(std::move(*pending_));
  }
  pending_.reset();
}

void UndoHistory::clear() {
  steps_.clear();
  pending_.reset();
}

std::optional<bool> UndoHistory::undo(DocumentContent& content) {
  if (steps_.empty()) return std::nullopt;
  Before before = std::move(steps_.back());
  steps_.pop_back();
  TableStore& store = content.store;
  if (before.lastTable)
    store.tables[static_cast<std::size_t>(before.lastIndex)] = *before.lastTable;
  store.lastIndex = before.lastIndex;
  store.firstShown = before.firstShown;
  store.stepTable = before.stepTable;
  store.snapshot = before.snapshot;
  content.remembered = before.remembered;
  // View All Tables turned since: the tables it shows as if it had been turned without the step.
  if (before.showAllTables != content.options.showAllTables) {
    showAllTables(store, content.options.showAllTables);
  }
  // Nothing done since the step: the document is as it was before it, changes counted too, so
  // that the step before can be taken back as cleanly.
  bool untouched = saves_ == before.saves && changes_ == before.changesAfter;
  if (untouched) changes_ = before.changesBefore;
  return untouched ? before.modified : true;
}

}  // namespace keldovar
