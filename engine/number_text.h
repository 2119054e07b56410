// Number writers for the report's fixed formats: the bytes printf gives for "%W.Pf", "% W.Pf",
// "%Wd", "%Ws" and "%-Ws", written straight into a report line or a string, no format to read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/stand_state.h"

namespace keldovar {

// What goes before a value that is not negative: nothing, or a blank (printf's ' ' flag).
enum class Sign { Minus, Space };

// Room for any double in fixed notation (309 digits), its sign, point and kMaxFixedPrecision
// decimals.
inline constexpr int kMaxFixedPrecision = 64;
inline constexpr std::size_t kNumberRoom = 400;

// "%.Pf" of the value (with `sign`), rounded as the C library rounds: to nearest on the exact
// binary value, ties to even. Writes at most kNumberRoom characters and no terminator; returns
// the count. 0 <= precision <= kMaxFixedPrecision.
std::size_t writeFixed(char* out, double value, int precision, Sign sign = Sign::Minus);
// The same for a magnitude: finite and not negative, no sign written.
std::size_t writeFixedDigits(char* out, double magnitude, int precision);

// Text written left to right into a report line (cut at its 300 characters and always
// terminated) or appended to a string.
class TextOut {
 public:
  // Starts the line empty, or after the text it holds.
  explicit TextOut(ReportLine& line, bool append = false);
  explicit TextOut(std::string& text) : string_(&text) {}

  TextOut& text(std::string_view s) {
    put(s.data(), s.size());
    return *this;
  }
  TextOut& repeat(char c, std::size_t count);
  // "%W.Pf" and "% W.Pf".
  TextOut& fixed(double value, int width, int precision, Sign sign = Sign::Minus);
  // "%Wd".
  TextOut& whole(long long value, int width = 0);
  // "%Ws" and "%-Ws".
  TextOut& right(std::string_view s, int width);
  TextOut& left(std::string_view s, int width);

 private:
  char* line_ = nullptr;
  std::size_t used_ = 0;
  std::string* string_ = nullptr;

  void put(const char* s, std::size_t n) {
    if (string_ != nullptr) {
      string_->append(s, n);
      return;
    }
    std::size_t taken = std::min(n, static_cast<std::size_t>(kLineLength) - used_);
    std::memcpy(line_ + used_, s, taken);
    used_ += taken;
    line_[used_] = '\0';
  }
  void padded(const char* s, std::size_t n, int width);
};

}  // namespace keldovar
