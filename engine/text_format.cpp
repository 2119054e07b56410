// The formatter: one pass over the format, each conversion rendered with std::to_chars.
#include "engine/text_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace keldovar {
namespace {

// Room for any double in fixed notation (309 digits) with the widest precision kept here.
constexpr int kMaxFastPrecision = 64;
constexpr std::size_t kNumberRoom = 400;

struct Spec {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool zero = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;
  int longs = 0;  // count of 'l'
  bool size = false;
  char conversion = '\0';
};

// Appends to the bounded output and counts what the whole text needs.
class Sink {
 public:
  Sink(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
  void put(const char* text, std::size_t length) {
    if (used_ + 1 < capacity_) {
      std::size_t room = capacity_ - 1 - used_;
      std::memcpy(out_ + used_, text, length < room ? length : room);
    }
    used_ += length;
  }
  void repeat(char c, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) put(&c, 1);
  }
  void finish() {
    if (capacity_ > 0) out_[used_ < capacity_ ? used_ : capacity_ - 1] = '\0';
  }
  std::size_t used() const { return used_; }

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t used_ = 0;
};

// Writes sign + digits padded to the width as the flags ask; zero padding goes after the sign.
void putPadded(Sink& sink, const Spec& spec, const char* sign, const char* body, std::size_t length,
               bool zeroAllowed) {
  std::size_t signLength = std::strlen(sign);
  std::size_t total = signLength + length;
  std::size_t pad = spec.width > 0 && static_cast<std::size_t>(spec.width) > total
                        ? static_cast<std::size_t>(spec.width) - total
                        : 0;
  if (spec.left) {
    sink.put(sign, signLength);
    sink.put(body, length);
    sink.repeat(' ', pad);
  } else if (spec.zero && zeroAllowed) {
    sink.put(sign, signLength);
    sink.repeat('0', pad);
    sink.put(body, length);
  } else {
    sink.repeat(' ', pad);
    sink.put(sign, signLength);
    sink.put(body, length);
  }
}

const char* signOf(bool negative, const Spec& spec) {
  if (negative) return "-";
  if (spec.plus) return "+";
  if (spec.space) return " ";
  return "";
}

bool putInteger(Sink& sink, const Spec& spec, va_list& args) {
  if (spec.precision >= 0) return false;
  char digits[32];
  bool negative = false;
  std::to_chars_result done{};
  if (spec.conversion == 'u') {
    unsigned long long value = spec.size         ? va_arg(args, std::size_t)
                               : spec.longs >= 2 ? va_arg(args, unsigned long long)
                               : spec.longs == 1 ? va_arg(args, unsigned long)
                                                 : va_arg(args, unsigned);
    done = std::to_chars(digits, digits + sizeof digits, value);
  } else {
    long long value = spec.size         ? static_cast<long long>(va_arg(args, std::size_t))
                      : spec.longs >= 2 ? va_arg(args, long long)
                      : spec.longs == 1 ? va_arg(args, long)
                                        : va_arg(args, int);
    negative = value < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    done = std::to_chars(digits, digits + sizeof digits, magnitude);
  }
  putPadded(sink, spec, signOf(negative, spec), digits, static_cast<std::size_t>(done.ptr - digits),
            true);
  return true;
}

// Up to three decimals of a magnitude below 1e15, the report's usual case, rounded as the library
// rounds (to nearest, ties to even, on the exact binary value) with one integer product: the
// magnitude is m * 2^-shift with m below 2^53, so m * 10^precision stays below 2^63 and the bits
// shifted out of it decide the rounding. Writes the digits and returns their count.
constexpr int kFewDecimals = 3;
constexpr double kFewDecimalsBelow = 1e15;

std::size_t fixedFewDecimals(double magnitude, int precision, char* out) {
  static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000};
  int exponent = 0;
  double fraction = std::frexp(magnitude, &exponent);
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  std::uint64_t scaled = mantissa * kScale[precision];
  int shift = 53 - exponent;  // at least 3 below 1e15
  std::uint64_t whole = 0;
  if (shift < 64) {
    whole = scaled >> shift;
    std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
  }  // else the product is below half a unit: zero
  // At least one digit before the point: 5 with three decimals is 0.005.
  char text[32] = "0000";
  std::size_t decimals = static_cast<std::size_t>(precision);
  auto done = std::to_chars(text + decimals, text + sizeof text, whole);
  std::size_t end = static_cast<std::size_t>(done.ptr - text);
  std::size_t begin = std::min(end - decimals - 1, decimals);
  std::size_t at = end - decimals - begin;
  std::memcpy(out, text + begin, at);
  if (decimals > 0) {
    out[at++] = '.';
    std::memcpy(out + at, text + end - decimals, decimals);
    at += decimals;
  }
  return at;
}

bool putFloating(Sink& sink, const Spec& spec, double value) {
  int precision = spec.precision < 0 ? 6 : spec.precision;
  if (precision > kMaxFastPrecision || spec.alternate) return false;
  char digits[kNumberRoom];
  bool negative = std::signbit(value);
  double magnitude = std::fabs(value);
  bool upper = spec.conversion == 'F' || spec.conversion == 'E' || spec.conversion == 'G';
  std::size_t length = 0;
  if (std::isnan(value) || std::isinf(value)) {
    const char* word = std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    length = std::strlen(word);
    std::memcpy(digits, word, length);
    putPadded(sink, spec, signOf(negative, spec), digits, length, false);
    return true;
  }
  char kind = static_cast<char>(spec.conversion | 0x20);
  if (kind == 'f' && precision <= kFewDecimals && magnitude < kFewDecimalsBelow) {
    putPadded(sink, spec, signOf(negative, spec), digits,
              fixedFewDecimals(magnitude, precision, digits), true);
    return true;
  }
  std::chars_format format = std::chars_format::fixed;
  if (kind == 'e') format = std::chars_format::scientific;
  if (kind == 'g') format = std::chars_format::general;
  if (kind == 'g' && precision == 0) precision = 1;
  auto done = std::to_chars(digits, digits + sizeof digits, magnitude, format, precision);
  if (done.ec != std::errc()) return false;
  length = static_cast<std::size_t>(done.ptr - digits);
  if (upper) {
    for (std::size_t i = 0; i < length; ++i) {
      if (digits[i] == 'e') digits[i] = 'E';
    }
  }
  putPadded(sink, spec, signOf(negative, spec), digits, length, true);
  return true;
}

void putText(Sink& sink, const Spec& spec, const char* text) {
  if (text == nullptr) text = "(null)";
  std::size_t length = spec.precision >= 0 ? strnlen(text, static_cast<std::size_t>(spec.precision))
                                           : std::strlen(text);
  putPadded(sink, spec, "", text, length, false);
}

int readNumber(const char*& p) {
  int value = 0;
  while (*p >= '0' && *p <= '9') {
    if (value < 100000) value = value * 10 + (*p - '0');
    ++p;
  }
  return value;
}

// Reads one conversion after its '%'; false when the format holds something not handled here.
bool readSpec(const char*& p, Spec& spec, va_list& args) {
  for (;; ++p) {
    if (*p == '-')
      spec.left = true;
    else if (*p == '+')
      spec.plus = true;
    else if (*p == ' ')
      spec.space = true;
    else if (*p == '0')
      spec.zero = true;
    else if (*p == '#')
      spec.alternate = true;
    else
      break;
  }
  if (*p == '*') {
    spec.width = va_arg(args, int);
    ++p;
    if (spec.width < 0) return false;
  } else {
    spec.width = readNumber(p);
  }
  if (*p == '.') {
    ++p;
    if (*p == '*') {
      spec.precision = va_arg(args, int);
      if (spec.precision < 0) spec.precision = -1;
      ++p;
    } else {
      spec.precision = readNumber(p);
    }
  }
  while (*p == 'l' || *p == 'h' || *p == 'z') {
    if (*p == 'l') ++spec.longs;
    if (*p == 'z') spec.size = true;
    ++p;
  }
  spec.conversion = *p;
  if (spec.conversion == '\0') return false;
  ++p;
  return std::strchr("diucsfFeEgG%", spec.conversion) != nullptr;
}

// The conversion's output; false when it has to be left to the C library.
bool putConversion(Sink& sink, const Spec& spec, va_list& args) {
  switch (spec.conversion) {
    case '%':
      sink.put("%", 1);
      return true;
    case 'c': {
      char c = static_cast<char>(va_arg(args, int));
      putPadded(sink, spec, "", &c, 1, false);
      return true;
    }
    case 's':
      putText(sink, spec, va_arg(args, const char*));
      return true;
    case 'd':
    case 'i':
    case 'u':
      return putInteger(sink, spec, args);
    default:
      return putFloating(sink, spec, va_arg(args, double));
  }
}

}  // namespace

int formatTo(char* out, std::size_t capacity, const char* format, va_list args) {
  va_list original;
  va_copy(original, args);
  va_list work;
  va_copy(work, args);
  Sink sink(out, capacity);
  bool handled = true;
  for (const char* p = format; *p != '\0' && handled;) {
    const char* percent = std::strchr(p, '%');
    if (percent == nullptr) {
      sink.put(p, std::strlen(p));
      break;
    }
    sink.put(p, static_cast<std::size_t>(percent - p));
    p = percent + 1;
    Spec spec;
    handled = readSpec(p, spec, work) && putConversion(sink, spec, work);
  }
  int length = -1;
  if (handled) {
    sink.finish();
    length = sink.used() > 0x7fffffff ? -1 : static_cast<int>(sink.used());
  } else {
    length = std::vsnprintf(out, capacity, format, original);
  }
  va_end(work);
  va_end(original);
  return length;
}

}  // namespace keldovar
