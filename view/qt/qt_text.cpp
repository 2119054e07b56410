// Conversions between the core's byte strings and Qt's strings (header-only helpers).
#include "view/qt/qt_text.h"
