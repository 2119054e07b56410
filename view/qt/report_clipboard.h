// What Copy puts on the clipboard: the report's own text, and the cells as CSV for spreadsheets.
#pragma once

#include <QString>
#include <memory>

#include "document/table_store.h"
#include "view/selection.h"

class QClipboard;
class QMimeData;

namespace keldovar {

// text/plain holds Copy's text exactly ("\r\n" line ends); a cell selection adds text/csv.
std::unique_ptr<QMimeData> selectionMimeData(const TableStore& store, const Selection& selection,
                                             bool showFinancial, const CarbonOptions& carbon = {});
// The same under every report option: in metric the text as the metric view shows it.
std::unique_ptr<QMimeData> selectionMimeData(const TableStore& store, const Selection& selection,
                                             const ReportOptions& options);

// Hands the data over. Qt opens and empties the clipboard itself and reports no failure there;
// what a platform can report is that the data did not arrive (another program holding the
// clipboard), which is seen by reading the text back. False then.
bool putOnClipboard(QClipboard& clipboard, std::unique_ptr<QMimeData> data);

// The message shown when the data did not arrive.
inline constexpr const char* kClipboardSetFailed = "Unable to set Clipboard data";

}  // namespace keldovar
