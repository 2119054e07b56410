// JSON read by nlohmann-json, strict to the grammar (no infinities, no malformed numbers), then
// given as the batch runner's values: its strings are Latin-1 text, as the runner writes them.
#include "cli/json_reader.h"

#include <nlohmann/json.hpp>

namespace keldovar::cli {
namespace {

constexpr int kMaxDepth = 64;

// UTF-8 back to the Latin-1 bytes the runner escaped as \u00XX; nothing for a character beyond
// Latin-1, which the runner never writes.
std::optional<std::string> latin1Of(const std::string& utf8) {
  std::string text;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      text += utf8[i];
      continue;
    }
    // Two-byte sequences C2 80 to C3 BF hold U+0080 to U+00FF; nlohmann checked the encoding.
    if ((byte != 0xC2 && byte != 0xC3) || i + 1 >= utf8.size()) return std::nullopt;
    auto next = static_cast<unsigned char>(utf8[++i]);
    text += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
  }
  return text;
}

bool convert(const nlohmann::json& json, JsonValue& out) {
  using Kind = JsonValue::Kind;
  if (json.is_object()) {
    out.kind = Kind::Object;
    for (const auto& [key, value] : json.items()) {
      std::optional<std::string> name = latin1Of(key);
      if (!name || !convert(value, out.members[*name])) return false;
    }
  } else if (json.is_array()) {
    out.kind = Kind::Array;
    for (const nlohmann::json& item : json) {
      out.items.emplace_back();
      if (!convert(item, out.items.back())) return false;
    }
  } else if (json.is_string()) {
    out.kind = Kind::String;
    std::optional<std::string> text = latin1Of(json.get_ref<const std::string&>());
    if (!text) return false;
    out.text = std::move(*text);
  } else if (json.is_boolean()) {
    out.kind = Kind::Bool;
    out.boolean = json.get<bool>();
  } else if (json.is_number()) {
    out.kind = Kind::Number;
    out.number = json.get<double>();
  }
  return true;
}

}  // namespace

const JsonValue* JsonValue::member(const std::string& key) const {
  auto it = members.find(key);
  return it == members.end() ? nullptr : &it->second;
}

std::optional<JsonValue> readJson(std::string_view text) {
  bool tooDeep = false;
  auto depthCheck = [&tooDeep](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
    if (depth > kMaxDepth) tooDeep = true;
    return !tooDeep;
  };
  nlohmann::json json = nlohmann::json::parse(text.begin(), text.end(), depthCheck, false);
  JsonValue value;
  if (tooDeep || json.is_discarded() || !convert(json, value)) return std::nullopt;
  return value;
}

}  // namespace keldovar::cli
