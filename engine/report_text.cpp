// Bounded formatting helpers.
#include "engine/report_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/text_format.h"

namespace keldovar {

void formatLine(ReportLine& line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  formatTo(line.data(), line.size(), format, args);
  va_end(args);
}

void appendLine(ReportLine& line, const char* format, ...) {
  std::size_t used = strnlen(line.data(), line.size() - 1);
  va_list args;
  va_start(args, format);
  formatTo(line.data() + used, line.size() - used, format, args);
  va_end(args);
}

std::string formatText(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = formatTo(small, sizeof small, format, args);
  va_end(args);
  std::string text;
  if (length < 0) {
    va_end(again);
    return text;
  }
  if (static_cast<std::size_t>(length) < sizeof small) {
    text.assign(small, static_cast<std::size_t>(length));
  } else {
    text.resize(static_cast<std::size_t>(length) + 1);
    formatTo(text.data(), text.size(), format, again);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(again);
  return text;
}

void copyLabel(char (&label)[kLabelLength], const char* text) {
  std::size_t i = 0;
  for (; text[i] != '\0' && i + 1 < kLabelLength; ++i) label[i] = text[i];
  for (; i < kLabelLength; ++i) label[i] = '\0';
}

}  // namespace keldovar
