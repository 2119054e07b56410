// The program's commands: identifier, menu text, key and tips. The menus, the toolbar, the
// manual's coverage test and the help pages all read this one table.
#pragma once

#include <span>
#include <string>

namespace keldovar {

struct CommandInfo {
  int id;                 // the command identifier
  const char* menuText;   // with its & mnemonic; empty for a command without a menu entry
  const char* keys;       // the key shown in the menu, e.g. "Ctrl+U"; empty for none
  const char* statusTip;  // the status bar prompt
  const char* toolTip;    // the toolbar tooltip; empty for a command without a button
};

std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(int id);
// The menu text as a reader sees it: "Thino&matic..." gives "Thinomatic".
std::string plainMenuText(const char* menuText);

}  // namespace keldovar
