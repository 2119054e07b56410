// JSON as the batch runner reads its own output back (`optimize --merge`): the values of a
// text that nlohmann-json parsed, strings as the runner's Latin-1 text.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldovar::cli {

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  const JsonValue* member(const std::string& key) const;
};

// The value of the whole text; nothing when it is not JSON (which has no infinities: a number
// beyond a double's range is none), nests deeper than 64 levels, or holds a character beyond
// Latin-1.
std::optional<JsonValue> readJson(std::string_view text);

}  // namespace keldovar::cli
