// The states a stand file does not keep: its steps taken again from the start, each one found
// from the table it made and checked against that table.
#pragma once

#include <optional>
#include <vector>

#include "document/document_content.h"

namespace keldovar {

// The state after each of the tables 0 to `last` of `source`, as the document had it when it
// stored them; nothing when a table is not what any step the tables and the remembered values
// describe gives, and `failedAt` then names it.
//
// A table's step is read from its stand history: the record the step completed names a growth
// (to that record's age), a thinning (to the basal area of the residual record after it), the
// harvest or an initialization. What the tables do not hold comes from the document's remembered
// dialog values (the initialization's fields, the diameter of a low thinning by diameter, the
// row percentage of a row and low thinning) and its snapshot (the nitrogen and phosphorus of a
// fertilization recorded before the step). A step is kept only when its table agrees with the
// stored one in everything but the time stamps and the bytes past the sections' counts, so a
// document whose dialogs took other values earlier than their last is refused, never guessed.
// The steps run with the document's own settings on a clean engine.
std::optional<std::vector<TableState>> rebuildTableStates(const DocumentContent& source, int last,
                                                          int& failedAt);

// True when `made` is the stored table in everything a step writes: the flags, the sections up
// to their counts, the history records before `historyCount`, the merchandising inputs; the
// three lines that carry the time stamp aside.
bool sameStepTable(const ReportTable& made, const ReportTable& stored, int historyCount);

}  // namespace keldovar
