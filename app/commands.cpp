// The command table. Tips are short sentences in the status bar's voice.
#include "app/commands.h"

#include <algorithm>
#include <iterator>

namespace keldovar {
namespace {

constexpr CommandInfo kCommands[] = {
    {32771, "Existing &Unthinned Plantation...", "Ctrl+U",
     "Describe an existing stand that has never been thinned", "Initialize Existing Unthinned"},
    {32779, "Existing &Thinned Plantation...", "Ctrl+T",
     "Describe an existing stand that has been thinned", "Initialize Existing Thinned"},
    {32780, "&New Plantation...", "Ctrl+W", "Describe a new plantation",
     "Initialize New Plantation"},
    {32772, "Thino&matic...", "Ctrl+M", "Thin the stand automatically to a residual basal area",
     "Thinomatic"},
    {32782, "&Row...", "Ctrl+R", "Remove whole rows of trees", "Row thin"},
    {32783, "&Low...", "Ctrl+L", "Thin from below to a diameter or a basal area", "Low thin"},
    {32784, "Row &and Low...", "Ctrl+A", "Row thinning followed by a low thinning",
     "Row and Low thin"},
    {32781, "&Harvest", "Ctrl+H", "Harvest the stand and value the regime", "Harvest"},
    {32773, "&Grow...", "Ctrl+G", "Grow the stand to a later age", "Grow"},
    {32817, "&Fertilize...", "Ctrl+F", "Record a fertilization for the next growth", "Fertilize"},
    {32786, "Include Financial &Analysis", "", "Show the financial analysis in each table", ""},
    {32809, "Include Diameter &Bargraph", "", "Show the diameter bar graph in each table", ""},
    {32814, "View &All Tables", "", "Show every table, or only the newest step's", ""},
    {32815, "&Reset View", "", "Clear every table and start again", "Reset View"},
    {32819, "", "Ctrl+Shift+D", "Switch the diagnostic trace off", ""},
    {32787, "&Increase Font Size", "", "Make the report's type larger", ""},
    {32788, "&Decrease Font Size", "", "Make the report's type smaller", ""},
    {32789, "&Select All", "", "Select every table for copying", ""},
    {57634, "&Copy", "Ctrl+C", "Copy the selection to the clipboard", "Copy"},
    {57600, "&New", "Ctrl+N", "Create a new document", "New"},
    {57601, "&Open...", "Ctrl+O", "Open an existing document", "Open"},
    {57603, "&Save", "Ctrl+S", "Save the active document", "Save"},
    {57604, "Save &As...", "", "Save the active document with a new name", ""},
    {57607, "&Print...", "Ctrl+P", "Print the report", "Print"},
    {57609, "Print Pre&view", "", "Show the report as it will be printed", ""},
    {57606, "P&rint Setup...", "", "Change the printer and printing options", ""},
    {57665, "E&xit", "", "Quit the program; prompts to save documents", ""},
    {57667, "&Help Topics", "", "List help topics", "Help Topics"},
    {57664, "&About KELDOVAR...", "", "Display program information and version", ""},
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
