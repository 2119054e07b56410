// The program's commands: identifier, menu text, key and tips. The menus, the toolbar, the
// manual's coverage test and the help pages all read this one table.
#pragma once

#include <span>
#include <string>

namespace keldovar {

struct CommandInfo {
  int id;                 // the command identifier
  const char* menuText;   // with its & mnemonic; empty for a command without a menu entry
  const char* keys;       // "Ctrl+U"; several keys separated by "; ", the first one shown
  const char* statusTip;  // the status bar prompt
  const char* toolTip;    // the toolbar tooltip; empty for a command without a button
};

// Identifiers of the commands, by what they do.
namespace command_ids {
inline constexpr int kInitUnthinned = 32771;
inline constexpr int kThinomatic = 32772;
inline constexpr int kGrow = 32773;
inline constexpr int kInitThinned = 32779;
inline constexpr int kInitPlantation = 32780;
inline constexpr int kHarvest = 32781;
inline constexpr int kRowThin = 32782;
inline constexpr int kLowThin = 32783;
inline constexpr int kRowLowThin = 32784;
inline constexpr int kIncludeFinancial = 32786;
inline constexpr int kIncreaseFont = 32787;
inline constexpr int kDecreaseFont = 32788;
inline constexpr int kSelectAll = 32789;
inline constexpr int kIncludeBargraph = 32809;
inline constexpr int kFinancialValues = 32810;
inline constexpr int kMerchLimits = 32811;
inline constexpr int kAllTables = 32814;
inline constexpr int kResetView = 32815;
inline constexpr int kFertilize = 32817;
inline constexpr int kTraceOff = 32819;
inline constexpr int kExportPdf = 32830;
inline constexpr int kExportCsv = 32831;
inline constexpr int kFitPageWidth = 32832;
inline constexpr int kFitWidth = 32833;
inline constexpr int kNormalFontSize = 32834;
inline constexpr int kFindRegime = 32840;
inline constexpr int kCarbonValues = 32841;
inline constexpr int kIncludeCarbon = 32842;
inline constexpr int kSensitivity = 32843;
inline constexpr int kOpenInventory = 32850;
inline constexpr int kNewFromHere = 32852;
inline constexpr int kCompareRegimes = 32853;
inline constexpr int kMetricUnits = 32854;
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kClose = 57602;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kRecentFile1 = 57616;  // the eight recent files follow it
inline constexpr int kCopy = 57634;
inline constexpr int kUndo = 57643;
inline constexpr int kCascade = 57650;
inline constexpr int kTile = 57651;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kContextHelp = 57669;
inline constexpr int kHelp = 57670;
inline constexpr int kToolbar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kWindow1 = 65280;  // the Window menu's open documents follow it
}  // namespace command_ids

inline constexpr int kRecentFileCount = 8;
// The Window menu lists this many open documents; Cascade and Tile reach the rest.
inline constexpr int kWindowListCount = 9;

std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(int id);
// The menu text as a reader sees it: "Thino&matic..." gives "Thinomatic".
std::string plainMenuText(const char* menuText);

}  // namespace keldovar
