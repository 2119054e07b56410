// A recursive-descent JSON reader, bounded in depth.
#include "cli/json_reader.h"

#include <cmath>
#include <cstdlib>

namespace keldovar::cli {
namespace {

constexpr int kMaxDepth = 64;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool value(JsonValue& out, int depth) {
    skipBlanks();
    if (depth > kMaxDepth || pos_ >= text_.size()) return false;
    char c = text_[pos_];
    if (c == '{') return object(out, depth);
    if (c == '[') return array(out, depth);
    if (c == '"') {
      out.kind = JsonValue::Kind::String;
      return string(out.text);
    }
    if (word("null")) return true;
    if (word("true") || word("false")) {
      out.kind = JsonValue::Kind::Bool;
      out.boolean = text_[pos_ - 1] == 'e' && text_[pos_ - 2] == 'u';
      return true;
    }
    return number(out);
  }

  bool atEnd() {
    skipBlanks();
    return pos_ == text_.size();
  }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\t'))
      ++pos_;
  }

  bool take(char c) {
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool word(std::string_view w) {
    if (text_.substr(pos_, w.size()) != w) return false;
    pos_ += w.size();
    return true;
  }

  bool number(JsonValue& out) {
    std::string digits;
    while (pos_ < text_.size() &&
           std::string_view("+-0123456789.eE").find(text_[pos_]) != std::string_view::npos) {
      digits += text_[pos_++];
    }
    if (digits.empty()) return false;
    char* end = nullptr;
    out.kind = JsonValue::Kind::Number;
    out.number = std::strtod(digits.c_str(), &end);
    // JSON has no infinities: a number too large for a double is not one.
    return end == digits.c_str() + digits.size() && std::isfinite(out.number);
  }

  bool string(std::string& out) {
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      char c = text_[pos_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) return false;
      char e = text_[pos_++];
      if (e == 'n') {
        out += '\n';
      } else if (e == 'r') {
        out += '\r';
      } else if (e == 't') {
        out += '\t';
      } else if (e == 'u') {
        if (pos_ + 4 > text_.size()) return false;
        // The runner writes \u only for single bytes (Latin-1 report text).
        out +=
            static_cast<char>(std::strtol(std::string(text_.substr(pos_, 4)).c_str(), nullptr, 16));
        pos_ += 4;
      } else {
        out += e;
      }
    }
    return take('"');
  }

  bool array(JsonValue& out, int depth) {
    ++pos_;
    out.kind = JsonValue::Kind::Array;
    if (take(']')) return true;
    do {
      out.items.emplace_back();
      if (!value(out.items.back(), depth + 1)) return false;
    } while (take(','));
    return take(']');
  }

  bool object(JsonValue& out, int depth) {
    ++pos_;
    out.kind = JsonValue::Kind::Object;
    if (take('}')) return true;
    do {
      std::string key;
      skipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '"' || !string(key) || !take(':')) return false;
      if (!value(out.members[key], depth + 1)) return false;
    } while (take(','));
    return take('}');
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(const std::string& key) const {
  auto it = members.find(key);
  return it == members.end() ? nullptr : &it->second;
}

std::optional<JsonValue> readJson(std::string_view text) {
  Reader reader(text);
  JsonValue value;
  if (!reader.value(value, 0) || !reader.atEnd()) return std::nullopt;
  return value;
}

}  // namespace keldovar::cli
