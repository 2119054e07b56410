// The JSON writer: strings escaped run by run, numbers by std::to_chars in their shortest form.
#include "cli/json_writer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace keldovar::cli {
namespace {

// Every character a JSON string may hold as it is; the rest is escaped.
bool plain(unsigned char c) {
  return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
}

// The length of the plain characters that begin the text, eight at a time by whole-word
// arithmetic: a byte below 0x20, above 0x7e, or a quote or backslash stops the run.
std::size_t plainRun(std::string_view text) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHigh = kOnes * 0x80;
  auto zeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t w = 0;
    std::memcpy(&w, text.data() + i, 8);
    std::uint64_t below = (w - kOnes * 0x20) & ~w & kHigh;
    std::uint64_t above = ((w + kOnes * (127 - 0x7e)) | w) & kHigh;
    std::uint64_t special = zeroByte(w ^ (kOnes * '"')) | zeroByte(w ^ (kOnes * '\\'));
    if ((below | above | special) != 0) break;
  }
  while (i < text.size() && plain(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

// Read as a double and then narrowed, the shortest text of every float reads back as that float
// but for two (all 4.3 billion were tried): these, plus and minus 7.038531e-26, are written with
// nine digits, as the JSON wrote every float before.
bool narrowsWrongly(float value) {
  return (std::bit_cast<std::uint32_t>(value) & 0x7fffffffU) == 0x15ae43fdU;
}

template <class Value>
void appendShortest(std::string& out, Value value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char digits[32];
  // A whole number below 10,000 is its own digits, the shortest form there is.
  if (value == std::trunc(value) && std::fabs(value) < 10000 && !std::signbit(value)) {
    auto done = std::to_chars(digits, digits + sizeof digits, static_cast<int>(value));
    out.append(digits, static_cast<std::size_t>(done.ptr - digits));
    return;
  }
  if constexpr (std::is_same_v<Value, float>) {
    if (narrowsWrongly(value)) {
      auto nine = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                std::chars_format::general, 9);
      out.append(digits, static_cast<std::size_t>(nine.ptr - digits));
      return;
    }
  }
  auto done = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, static_cast<std::size_t>(done.ptr - digits));
}

}  // namespace

void appendJsonNumber(std::string& out, double value) {
  appendShortest(out, value);
}

void appendJsonNumber(std::string& out, float value) {
  appendShortest(out, value);
}

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  std::size_t run = 0;  // the start of the plain characters not yet written
  for (std::size_t i = plainRun(text); i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (plain(c)) continue;
    out.append(text, run, i - run);
    run = i + 1;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        // Report text is 8-bit: bytes above ASCII are read as Latin-1.
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xf];
    }
  }
  out.append(text, run, text.size() - run);
  out += '"';
}

void JsonWriter::settle(char next) {
  if (!pending_) return;
  pending_ = false;
  char before = out_.empty() ? '\0' : out_.back();
  if (before != '[' && before != '{' && next != ']' && next != '}') out_ += ' ';
}

JsonWriter& JsonWriter::whole(long long value) {
  if (pending_) settle('0');
  char digits[24];
  auto done = std::to_chars(digits, digits + sizeof digits, value);
  out_.append(digits, static_cast<std::size_t>(done.ptr - digits));
  return *this;
}

JsonWriter& JsonWriter::newline(int indent) {
  if (layout_ == JsonLayout::Line) {
    pending_ = true;
    return *this;
  }
  out_ += '\n';
  out_.append(static_cast<std::size_t>(indent), ' ');
  return *this;
}

}  // namespace keldovar::cli
