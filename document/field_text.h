// How a dialog field's text becomes a value: the exchange of integer and single-precision real
// fields with their two messages, and the fields read as text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/prompts.h"

namespace keldovar {

struct FieldError {
  std::string text;
  MessageIcon icon = MessageIcon::Exclamation;
};

template <typename T>
struct Exchanged {
  T value{};
  std::optional<FieldError> error;  // set when the text was refused
};

struct IntRange {
  int low;
  int high;
};
struct RealRange {
  float low;
  float high;
};

// The whole text, blanks around it allowed, must be the number; empty text is no number.
std::optional<int> parseInteger(std::string_view text);
std::optional<float> parseReal(std::string_view text);

// Parse, then check the range: "Enter an integer." / "Enter an integer between %1 and %2.",
// "Enter a number." / "Enter a number between %1 and %2."; only the range failures warn.
Exchanged<int> exchangeInteger(std::string_view text, std::optional<IntRange> range = {});
Exchanged<float> exchangeReal(std::string_view text, std::optional<RealRange> range = {});

// Fields read as text: the leading number counts, anything else is 0.
int readIntegerText(std::string_view text);
double readDecimalText(std::string_view text);
float readRealText(std::string_view text);

// A real as its field shows it: shortest form, at most 6 significant digits.
std::string formatReal(float value);

}  // namespace keldovar
