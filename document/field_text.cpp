// Field exchange: parsing integers and single-precision reals as the dialogs read them.
#include "document/field_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "engine/report_text.h"

namespace keldovar {
namespace {

constexpr std::string_view kBlanks = " \t\n\r\v\f";

bool isSign(char c) {
  return c == '+' || c == '-';
}

std::string_view withoutLeadingBlanks(std::string_view s) {
  return s.substr(std::min(s.find_first_not_of(kBlanks), s.size()));
}

std::string_view trimmed(std::string_view s) {
  s = withoutLeadingBlanks(s);
  return s.substr(0, s.find_last_not_of(kBlanks) + 1);
}

std::size_t digitsAt(std::string_view s, std::size_t i) {
  return i >= s.size() ? 0 : std::min(s.find_first_not_of("0123456789", i), s.size()) - i;
}

// Length of the whole number that opens s (a sign and digits), 0 when there is none.
std::size_t integerPrefix(std::string_view s) {
  std::size_t i = !s.empty() && isSign(s[0]) ? 1 : 0;
  std::size_t n = digitsAt(s, i);
  return n == 0 ? 0 : i + n;
}

// Length of the decimal number that opens s: a sign, digits with an optional point, and an
// exponent only when digits follow its letter; 0 when there is none. Hexadecimal, "inf" and
// "nan" are not decimal numbers, so no field ends up holding an infinity typed by hand.
std::size_t decimalPrefix(std::string_view s) {
  std::size_t i = !s.empty() && isSign(s[0]) ? 1 : 0;
  std::size_t whole = digitsAt(s, i);
  i += whole;
  bool point = i < s.size() && s[i] == '.';
  std::size_t fraction = point ? digitsAt(s, i + 1) : 0;
  if (whole + fraction == 0) return 0;
  if (point) i += 1 + fraction;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1 < s.size() && isSign(s[i + 1]) ? i + 2 : i + 1;
    std::size_t exponent = digitsAt(s, j);
    if (exponent > 0) i = j + exponent;
  }
  return i;
}

// A decimal number a double cannot hold is either huge or tiny: where its first significant
// digit stands against the point, moved by the exponent, tells which.
bool isHuge(std::string_view number) {
  std::size_t e = std::min(number.find_first_of("eE"), number.size());
  std::string_view mantissa = number.substr(0, e);
  long point = static_cast<long>(std::min(mantissa.find('.'), mantissa.size()));
  long first = static_cast<long>(std::min(mantissa.find_first_of("123456789"), mantissa.size()));
  long exponent = 0;
  for (char c : number.substr(std::min(e + 1, number.size()))) {
    if (!isSign(c)) exponent = std::min(exponent * 10 + (c - '0'), 100000L);
  }
  bool negative = number.find('-', e) != std::string_view::npos;
  return point - first + (negative ? -exponent : exponent) > 0;
}

// The value of a text that decimalPrefix accepted whole.
double decimalValue(std::string_view number) {
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    double magnitude = isHuge(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return number.front() == '-' ? -magnitude : magnitude;
  }
  return value;
}

// Beyond the float range the field's value is an infinity, which every range check refuses.
float toFloat(double value) {
  constexpr double kLargest = static_cast<double>(std::numeric_limits<float>::max());
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (value > kLargest) return kInfinity;
  if (value < -kLargest) return -kInfinity;
  return static_cast<float>(value);
}

}  // namespace

std::optional<int> parseInteger(std::string_view text) {
  std::string_view s = trimmed(text);
  if (s.empty() || integerPrefix(s) != s.size()) return std::nullopt;
  if (s.front() == '+') s.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc()) return std::nullopt;
  return value;
}

std::optional<float> parseReal(std::string_view text) {
  std::string_view s = trimmed(text);
  if (s.empty() || decimalPrefix(s) != s.size()) return std::nullopt;
  float value = toFloat(decimalValue(s));
  if (std::isinf(value)) return std::nullopt;
  return value;
}

Exchanged<int> exchangeInteger(std::string_view text, std::optional<IntRange> range) {
  std::optional<int> value = parseInteger(text);
  if (!value) return {0, FieldError{"Enter an integer.", MessageIcon::None}};
  if (range && (*value < range->low || *value > range->high)) {
    return {*value,
            FieldError{formatText("Enter an integer between %d and %d.", range->low, range->high),
                       MessageIcon::Exclamation}};
  }
  return {*value, std::nullopt};
}

Exchanged<float> exchangeReal(std::string_view text, std::optional<RealRange> range) {
  std::optional<float> value = parseReal(text);
  if (!value) return {0, FieldError{"Enter a number.", MessageIcon::None}};
  if (range && (*value < range->low || *value > range->high)) {
    std::string low = formatReal(range->low);
    std::string high = formatReal(range->high);
    return {*value,
            FieldError{formatText("Enter a number between %s and %s.", low.c_str(), high.c_str()),
                       MessageIcon::Exclamation}};
  }
  return {*value, std::nullopt};
}

int readIntegerText(std::string_view text) {
  std::string_view s = withoutLeadingBlanks(text);
  std::size_t length = integerPrefix(s);
  if (length == 0) return 0;
  bool negative = s.front() == '-';
  if (isSign(s.front())) {
    s.remove_prefix(1);
    --length;
  }
  long long value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + length, value);
  constexpr long long kLargest = std::numeric_limits<int>::max();
  if (ec != std::errc() || value > kLargest) value = kLargest + (negative ? 1 : 0);
  return static_cast<int>(negative ? -value : value);
}

double readDecimalText(std::string_view text) {
  std::string_view s = withoutLeadingBlanks(text);
  std::size_t length = decimalPrefix(s);
  return length == 0 ? 0.0 : decimalValue(s.substr(0, length));
}

float readRealText(std::string_view text) {
  return toFloat(readDecimalText(text));
}

std::string formatReal(float value) {
  return formatText("%.6g", static_cast<double>(value));
}

}  // namespace keldovar
