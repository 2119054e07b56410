// The report font: made from its stored description, and kept in "def_Font.bin".
#pragma once

#include <QFont>
#include <QString>

#include "view/font_file.h"

namespace keldovar {

// A description's height is the character cell in page units (0.01 inch), its width the average
// character width; the font made from it has its pixel size in page units, so that a painter
// mapping page units onto a device draws it at its size on any device. A face the system lacks
// falls back, through fontconfig's aliases, to a metric-compatible one ("Courier New" to
// Liberation Mono), and otherwise to a fixed-pitch face.
QFont reportFont(const FontDescription& description);

// The description in the file, or nothing when it is missing, unreadable or damaged.
std::optional<FontDescription> loadFontFile(const QString& path);
// Replaces the file; false when it cannot be written, which the caller passes over in silence.
bool saveFontFile(const QString& path, const FontDescription& description);

}  // namespace keldovar
