// printf-compatible formatting of the conversions the report uses, built on std::to_chars: the
// same bytes as the C library's printf, without its locale and stream machinery on the hot path.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace keldovar {

// Formats like std::vsnprintf: writes at most capacity - 1 characters and a terminator (when
// capacity > 0) and returns the length the whole text has, or -1 for a malformed format.
// Conversions: d i u c s f F e E g G %, with the flags - + space 0 #, a width and a precision
// (numbers or *), and the length modifiers h l ll z. Anything else goes to std::vsnprintf.
int formatTo(char* out, std::size_t capacity, const char* format, va_list args);

}  // namespace keldovar
