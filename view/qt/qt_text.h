// Conversions between the core's byte strings and Qt's strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace keldovar {

// The core's texts are Latin-1 (the report's degree and fraction signs); file names are UTF-8.
inline QString fromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toLatin1(const QString& text) {
  return text.toLatin1().toStdString();
}

}  // namespace keldovar
