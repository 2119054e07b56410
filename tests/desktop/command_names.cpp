// Prints the plain name of every command that has a menu entry, one a line, for the check that
// the manual names every command of the menus.
#include <iostream>

#include "script/commands.h"

int main() {
  for (const keldovar::CommandInfo& command : keldovar::commandTable()) {
    if (*command.menuText != '\0') std::cout << keldovar::plainMenuText(command.menuText) << "\n";
  }
  return 0;
}
