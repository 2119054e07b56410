// The program's modal message box, shown by the dialogs and by the prompts alike.
#pragma once

#include <QWidget>

#include "document/prompts.h"

namespace keldovar {

inline constexpr const char* kProgramTitle = "KELDOVAR";

// An OK box over parent; an empty caption means the program's title.
void showMessageBox(QWidget* parent, const Message& message);

}  // namespace keldovar
