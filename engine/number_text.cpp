// The fixed-notation writer and the text it goes into.
#include "engine/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace keldovar {
namespace {

// Up to three decimals of a magnitude below 1e15, the report's usual case, rounded as the library
// rounds (to nearest, ties to even, on the exact binary value) with one integer product: the
// magnitude is m * 2^-shift with m below 2^53, so m * 10^precision stays below 2^63 and the bits
// shifted out of it decide the rounding. Writes the digits and returns their count.
constexpr int kFewDecimals = 3;
constexpr double kFewDecimalsBelow = 1e15;

std::size_t fixedFewDecimals(double magnitude, int precision, char* out) {
  static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000};
  // The magnitude's own bits: a 52-bit fraction and a biased exponent, the hidden bit set
  // unless the value is subnormal.
  auto bits = std::bit_cast<std::uint64_t>(magnitude);
  auto biased = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  std::uint64_t scaled = mantissa * kScale[precision];
  int shift = 1075 - std::max(biased, 1);  // at least 3 below 1e15
  std::uint64_t whole = 0;
  if (shift < 64) {
    whole = scaled >> shift;
    std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
  }  // else the product is below half a unit: zero
  // The whole units, then the decimals with their leading zeros.
  std::uint64_t units = whole;
  std::uint64_t decimals = 0;
  switch (precision) {  // constant divisors: no division instruction
    case 1:
      units = whole / 10, decimals = whole % 10;
      break;
    case 2:
      units = whole / 100, decimals = whole % 100;
      break;
    case 3:
      units = whole / 1000, decimals = whole % 1000;
      break;
    default:
      break;
  }
  char* end = std::to_chars(out, out + kNumberRoom, units).ptr;
  if (precision > 0) {
    *end++ = '.';
    for (int i = precision - 1; i >= 0; --i, decimals /= 10) {
      end[i] = static_cast<char>('0' + decimals % 10);
    }
    end += precision;
  }
  return static_cast<std::size_t>(end - out);
}

}  // namespace

std::size_t writeFixedDigits(char* out, double magnitude, int precision) {
  if (precision <= kFewDecimals && magnitude < kFewDecimalsBelow) {
    return fixedFewDecimals(magnitude, precision, out);
  }
  auto done = std::to_chars(out, out + kNumberRoom, magnitude, std::chars_format::fixed,
                            std::clamp(precision, 0, kMaxFixedPrecision));
  return static_cast<std::size_t>(done.ptr - out);
}

std::size_t writeFixed(char* out, double value, int precision, Sign sign) {
  std::size_t at = 0;
  if (std::signbit(value)) {
    out[at++] = '-';
  } else if (sign == Sign::Space) {
    out[at++] = ' ';
  }
  if (std::isnan(value) || std::isinf(value)) {
    std::memcpy(out + at, std::isnan(value) ? "nan" : "inf", 3);
    return at + 3;
  }
  return at + writeFixedDigits(out + at, std::fabs(value), precision);
}

TextOut::TextOut(ReportLine& line, bool append)
    : line_(line.data()), used_(append ? strnlen(line.data(), kLineLength) : 0) {
  line_[used_] = '\0';
}

void TextOut::padded(const char* s, std::size_t n, int width) {
  if (width > 0 && static_cast<std::size_t>(width) > n) {
    repeat(' ', static_cast<std::size_t>(width) - n);
  }
  put(s, n);
}

TextOut& TextOut::repeat(char c, std::size_t count) {
  static constexpr std::string_view kBlanks = "                                ";
  char others[kBlanks.size()];
  const char* run = kBlanks.data();
  if (c != ' ') {
    std::memset(others, c, sizeof others);
    run = others;
  }
  for (; count > kBlanks.size(); count -= kBlanks.size()) put(run, kBlanks.size());
  put(run, count);
  return *this;
}

TextOut& TextOut::fixed(double value, int width, int precision, Sign sign) {
  char digits[kNumberRoom];
  padded(digits, writeFixed(digits, value, precision, sign), width);
  return *this;
}

TextOut& TextOut::whole(long long value, int width) {
  char digits[24];
  auto done = std::to_chars(digits, digits + sizeof digits, value);
  padded(digits, static_cast<std::size_t>(done.ptr - digits), width);
  return *this;
}

TextOut& TextOut::right(std::string_view s, int width) {
  padded(s.data(), s.size(), width);
  return *this;
}

TextOut& TextOut::left(std::string_view s, int width) {
  put(s.data(), s.size());
  if (width > 0 && static_cast<std::size_t>(width) > s.size()) {
    repeat(' ', static_cast<std::size_t>(width) - s.size());
  }
  return *this;
}

}  // namespace keldovar
