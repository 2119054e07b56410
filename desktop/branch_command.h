// New Document From Here: a table of a document window opens as the start of a new, unsaved
// document, from the Edit menu, its key or the report's context menu.
#pragma once

#include <string>

class QWidget;

namespace keldovar {

class CMainFrame;
class CChildFrame;

// The document's title without the stand file's extension: what a branch's title and a
// comparison's column start from.
std::string documentName(CChildFrame& frame);

// Opens the branch of `source` at table `table` in a new window titled "NAME (from age A)";
// nullptr after a message when the table's state cannot be had.
CChildFrame* newDocumentFromHere(CMainFrame& main, CChildFrame& source, int table);

// The report's context menu: New Document From Here on the table under the mouse, then Copy and
// Select All.
void attachReportMenu(CMainFrame& main, CChildFrame& frame);

}  // namespace keldovar
