// How the forest's results write numbers and text: numbers in the shortest form that reads back
// as the same value, CSV fields after RFC 4180, JSON strings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldovar::forest {

// The shortest decimal text that reads back as `value`; "" for a value that is not finite.
std::string numberText(double value);
// "null" for nothing or a value that is not finite, else numberText.
std::string jsonNumber(std::optional<double> value);

// The field as written: quoted, quotes doubled, when it holds a comma, quote or line end.
std::string csvField(std::string_view text);

// A JSON string. UTF-8 passes as it is; a byte that is not part of valid UTF-8 is read as
// Latin-1, so that any bytes make valid JSON.
std::string jsonString(std::string_view text);

// Bytes as lower-case hexadecimal, the text outputs' form of a binary cell.
std::string hexText(std::string_view bytes);

}  // namespace keldovar::forest
