// The command table. Tips are short sentences in the status bar's voice.
#include "script/commands.h"

#include <algorithm>
#include <iterator>

namespace keldovar {
namespace {

using namespace command_ids;

constexpr CommandInfo kCommands[] = {
    {kInitUnthinned, "Existing &Unthinned Plantation...", "Ctrl+U",
     "Describe an existing stand that has never been thinned", "Initialize Existing Unthinned"},
    {kInitThinned, "Existing &Thinned Plantation...", "Ctrl+T",
     "Describe an existing stand that has been thinned", "Initialize Existing Thinned"},
    {kInitPlantation, "&New Plantation...", "Ctrl+W", "Describe a new plantation",
     "Initialize New Plantation"},
    {kThinomatic, "Thino&matic...", "Ctrl+M",
     "Thin the stand automatically to a residual basal area", "Thinomatic"},
    {kRowThin, "&Row...", "Ctrl+R", "Remove whole rows of trees", "Row thin"},
    {kLowThin, "&Low...", "Ctrl+L", "Thin from below to a diameter or a basal area", "Low thin"},
    {kRowLowThin, "Row &and Low...", "Ctrl+A", "Row thinning followed by a low thinning",
     "Row and Low thin"},
    {kHarvest, "&Harvest", "Ctrl+H", "Harvest the stand and value the regime", "Harvest"},
    {kFindRegime, "Find &Best Regime...", "",
     "Search the thinnings and rotations for the regime of highest value", ""},
    {kSensitivity, "Sensiti&vity and Risk...", "",
     "See how the harvested regime's value moves with rates, prices, costs and risk", ""},
    {kCompareRegimes, "Com&pare Regimes...", "",
     "Set the harvested regimes of the open documents side by side", ""},
    {kGrow, "&Grow...", "Ctrl+G", "Grow the stand to a later age", "Grow"},
    // The key the menu always named; it is now bound as well.
    {kFertilize, "&Fertilize...", "Ctrl+F", "Record a fertilization for the next growth",
     "Fertilize"},
    {kFinancialValues, "&Financial Values...", "", "Change the values the financial analysis uses",
     ""},
    {kMerchLimits, "&Merchantability Limits...", "",
     "Change the top diameter and the pulpwood and sawtimber thresholds", ""},
    {kIncludeFinancial, "Include Financial &Analysis", "",
     "Show the financial analysis in each table", ""},
    {kIncludeBargraph, "Include Diameter &Bargraph", "",
     "Show the diameter bar graph in each table", ""},
    {kCarbonValues, "&Carbon Values...", "",
     "Change the carbon price and baseline the carbon section and the regime search use", ""},
    {kIncludeCarbon, "Include Carb&on", "",
     "Show the stand's biomass, carbon and wood products in each table", ""},
    {kMetricUnits, "Metric &Units", "",
     "Show and type every measure in metric units, in every open document", ""},
    {kAllTables, "View &All Tables", "", "Show every table, or only the newest step's", ""},
    // No key: Ctrl+R belongs to Row thinning.
    {kResetView, "&Reset View", "", "Clear every table and start again", "Reset View"},
    {kTraceOff, "", "Ctrl+Shift+D", "Switch the diagnostic trace off", ""},
    // Ctrl+wheel runs these two as well.
    {kIncreaseFont, "&Increase Font Size", "Ctrl++; Ctrl+=", "Make the report's type larger", ""},
    {kDecreaseFont, "&Decrease Font Size", "Ctrl+-", "Make the report's type smaller", ""},
    {kNormalFontSize, "&Normal Font Size", "Ctrl+0", "Give the report's type its first size", ""},
    {kFitWidth, "Fit &Width", "",
     "Make the report's type as large as lets the widest line fit the window", ""},
    {kUndo, "&Undo Last Step", "Ctrl+Z", "Take back the newest step, as if it had never been taken",
     ""},
    {kSelectAll, "&Select All", "", "Select every table for copying", ""},
    {kNewFromHere, "New Document &From Here", "Ctrl+B",
     "Start a new document from this table: its tables up to here, the stand as it was then", ""},
    {kCopy, "&Copy", "Ctrl+C; Ctrl+Ins", "Copy the selection to the clipboard", "Copy"},
    {kNew, "&New", "Ctrl+N", "Create a new document", "New"},
    {kOpen, "&Open...", "Ctrl+O", "Open an existing document", "Open"},
    {kOpenInventory, "Open &Inventory...", "",
     "Open an inventory of stands and run a regime on every stand of the forest", ""},
    {kClose, "&Close", "", "Close the active document", ""},
    {kSave, "&Save", "Ctrl+S", "Save the active document", "Save"},
    {kSaveAs, "Save &As...", "", "Save the active document with a new name", ""},
    {kPrint, "&Print...", "Ctrl+P", "Print the report", "Print"},
    {kPrintPreview, "Print Pre&view", "", "Show the report as it will be printed", ""},
    {kPrintSetup, "P&rint Setup...", "", "Change the printer and printing options", ""},
    {kExportPdf, "&Export PDF...", "", "Write the report, as printed, to a PDF file", ""},
    {kExportCsv, "Export &Tables as CSV...", "",
     "Write the shown tables, or the selected rows, as comma-separated values", ""},
    {kFitPageWidth, "&Fit to Page Width", "",
     "Shrink the printed report so that no table is cut into page columns", ""},
    {kRecentFile1, "", "", "Open this document", ""},
    {kExit, "E&xit", "", "Quit the program; prompts to save documents", ""},
    {kToolbar, "&Toolbar", "", "Show or hide the toolbar", ""},
    {kStatusBar, "&Status Bar", "", "Show or hide the status bar", ""},
    {kCascade, "&Cascade", "", "Arrange the document windows so they overlap", ""},
    {kTile, "&Tile", "", "Arrange the document windows side by side", ""},
    {kWindow1, "", "", "Bring this document's window to the front", ""},
    {kHelpTopics, "&Help Topics", "", "List help topics", "Help Topics"},
    {kHelp, "", "F1", "Open the help", ""},
    {kContextHelp, "", "Shift+F1", "Open the help", ""},
    {kAbout, "&About KELDOVAR...", "", "Display program information and version", ""},
};

}  // namespace

std::span<const CommandInfo> commandTable() {
  return kCommands;
}

const CommandInfo* findCommand(int id) {
  const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [id](const CommandInfo& c) { return c.id == id; });
  return found == std::end(kCommands) ? nullptr : found;
}

std::string plainMenuText(const char* menuText) {
  std::string text;
  for (const char* c = menuText; *c != '\0'; ++c) {
    if (*c != '&') text += *c;
  }
  while (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace keldovar
