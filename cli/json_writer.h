// JSON written straight into one string: escaped strings, the shortest numbers that read back as
// the same values, and the line breaks of the pretty layout or the single line of JSON Lines.
#pragma once

#include <string>
#include <string_view>

namespace keldovar::cli {

// The shortest text that reads back as the value: a double's own shortest form, and a
// single-precision value's own (read as a float, it is the same float); null for NaN and the
// infinities.
void appendJsonNumber(std::string& out, double value);
void appendJsonNumber(std::string& out, float value);
// A JSON string of the text, bytes above ASCII read as Latin-1.
void appendJsonString(std::string& out, std::string_view text);

enum class JsonLayout { Pretty, Line };

// Writes a JSON text piece by piece. Pretty: each break is a line end and its indent. Line:
// each break is one blank, or nothing just inside a bracket or brace.
class JsonWriter {
 public:
  JsonWriter(std::string& out, JsonLayout layout) : out_(out), layout_(layout) {}

  // Punctuation and keys, as they are.
  JsonWriter& raw(std::string_view text) {
    if (pending_ && !text.empty()) settle(text.front());
    out_ += text;
    return *this;
  }
  JsonWriter& string(std::string_view text) {
    if (pending_) settle('"');
    appendJsonString(out_, text);
    return *this;
  }
  JsonWriter& number(double value) {
    if (pending_) settle('0');
    appendJsonNumber(out_, value);
    return *this;
  }
  JsonWriter& number(float value) {
    if (pending_) settle('0');
    appendJsonNumber(out_, value);
    return *this;
  }
  JsonWriter& whole(long long value);
  JsonWriter& null() { return raw("null"); }
  JsonWriter& newline(int indent);
  // The length written so far, and the text written before from one length to another.
  std::size_t size() const { return out_.size(); }
  JsonWriter& copy(std::size_t from, std::size_t to) {
    out_.append(out_, from, to - from);
    return *this;
  }

 private:
  std::string& out_;
  JsonLayout layout_;
  bool pending_ = false;  // a Line break waiting to see what follows it

  void settle(char next);
};

}  // namespace keldovar::cli
