// Bounded formatting into the fixed report lines, and a safe printf into a std::string.
#pragma once

#include <string>

#include "engine/stand_state.h"

namespace keldovar {

// Replaces the line's text; anything beyond 300 characters is cut off.
void formatLine(ReportLine& line, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Appends to the line's text, within the same bound.
void appendLine(ReportLine& line, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The whole formatted text, however long.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Copies a NUL-terminated text into a fixed buffer, cut to fit with its terminator.
template <std::size_t N>
void copyText(std::array<char, N>& buffer, const char* text) {
  std::size_t i = 0;
  for (; text != nullptr && text[i] != '\0' && i + 1 < N; ++i) buffer[i] = text[i];
  for (; i < N; ++i) buffer[i] = '\0';
}
void copyLabel(char (&label)[kLabelLength], const char* text);

}  // namespace keldovar
