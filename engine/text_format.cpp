// The formatter: one pass over the format, each conversion rendered with std::to_chars.
#include "engine/text_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/number_text.h"

namespace keldovar {
namespace {

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

bool putFloating(Sink& sink, const Spec& spec, double value) {
  int precision = spec.precision < 0 ? 6 : spec.precision;
  if (precision > kMaxFixedPrecision || spec.alternate) return false;
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
  if (kind == 'f') {
    putPadded(sink, spec, signOf(negative, spec), digits,
              writeFixedDigits(digits, magnitude, precision), true);
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
