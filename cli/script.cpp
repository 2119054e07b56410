// Parsing the regime script.
#include "cli/script.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "engine/financial_values.h"

namespace keldovar::cli {
namespace {

std::string lower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

struct Syntax {
  CommandKind kind;
  std::vector<std::string> keys;
};

std::vector<std::string> financialKeys() {
  std::vector<std::string> keys;
  for (const FinancialField& field : kFinancialFields) keys.emplace_back(field.scriptKey);
  return keys;
}

std::optional<Syntax> commandSyntax(const std::string& word) {
  if (word == "unthinned")
    return Syntax{CommandKind::Unthinned, {"age", "trees", "ba", "height", "si"}};
  if (word == "thinned") {
    return Syntax{CommandKind::Thinned,
                  {"age", "ba", "trees", "thinage", "height", "si", "pcttrees", "pctba"}};
  }
  if (word == "plantation") {
    return Syntax{CommandKind::Plantation, {"si", "trees", "survival", "control"}};
  }
  if (word == "grow") return Syntax{CommandKind::Grow, {}};
  if (word == "fertilize") return Syntax{CommandKind::Fertilize, {"n", "p"}};
  if (word == "thin") return Syntax{CommandKind::ThinRow, {}};
  if (word == "harvest") return Syntax{CommandKind::Harvest, {}};
  if (word == "financial") return Syntax{CommandKind::Financial, financialKeys()};
  if (word == "merch") return Syntax{CommandKind::Merch, {"top", "saw", "pulp"}};
  if (word == "reset") return Syntax{CommandKind::Reset, {}};
  return std::nullopt;
}

std::optional<Syntax> thinSyntax(const std::string& method) {
  if (method == "row") return Syntax{CommandKind::ThinRow, {"ba"}};
  if (method == "thinomatic") return Syntax{CommandKind::ThinThinomatic, {"ba"}};
  if (method == "low") return Syntax{CommandKind::ThinLow, {"ba", "dbh"}};
  if (method == "rowlow") return Syntax{CommandKind::ThinRowLow, {"ba", "row"}};
  return std::nullopt;
}

bool oneOf(const std::string& value, std::initializer_list<const char*> choices) {
  return std::any_of(choices.begin(), choices.end(),
                     [&](const char* choice) { return value == choice; });
}

// Parses one non-empty line; returns the error text, or nothing.
std::optional<std::string> parseLine(const std::vector<std::string_view>& words, Command& cmd) {
  std::string word = lower(words[0]);
  std::optional<Syntax> syntax = commandSyntax(word);
  if (!syntax) return "unknown command '" + std::string(words[0]) + "'";
  std::size_t first = 1;
  if (syntax->kind == CommandKind::Grow) {
    if (words.size() != 2 || words[1].find('=') != std::string_view::npos) {
      return std::string("grow takes exactly one age");
    }
    cmd.kind = CommandKind::Grow;
    cmd.fields["age"] = std::string(words[1]);
    return std::nullopt;
  }
  if (word == "thin") {
    std::string method = words.size() > 1 ? lower(words[1]) : std::string();
    syntax = thinSyntax(method);
    if (!syntax) return std::string("thin takes a method: row, thinomatic, low or rowlow");
    first = 2;
  }
  cmd.kind = syntax->kind;
  for (std::size_t i = first; i < words.size(); ++i) {
    std::size_t eq = words[i].find('=');
    if (eq == std::string_view::npos || eq == 0) {
      return "'" + std::string(words[i]) + "' is not key=value";
    }
    std::string key = lower(words[i].substr(0, eq));
    if (std::find(syntax->keys.begin(), syntax->keys.end(), key) == syntax->keys.end()) {
      return "unknown key '" + key + "' for " + word;
    }
    if (cmd.fields.count(key) != 0) return "key '" + key + "' given twice";
    std::string value(words[i].substr(eq + 1));
    if (key == "control") {
      value = lower(value);
      if (!oneOf(value, {"none", "woody", "herbwoody"})) {
        return std::string("control is none, woody or herbwoody");
      }
    }
    if (key == "p") {
      value = lower(value);
      if (!oneOf(value, {"yes", "no"})) return std::string("p is yes or no");
    }
    cmd.fields[key] = value;
  }
  if (cmd.kind == CommandKind::ThinLow) {
    bool byBA = cmd.fields.count("ba") != 0;
    bool byDBH = cmd.fields.count("dbh") != 0;
    if (byBA == byDBH) return std::string("thin low takes exactly one of ba and dbh");
    cmd.fields["method"] = byDBH ? "dbh" : "ba";
  }
  return std::nullopt;
}

}  // namespace

ParsedScript parseScript(std::string_view text) {
  ParsedScript script;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    ++lineNumber;
    std::size_t hash = line.find('#');
    if (hash != std::string_view::npos) line = line.substr(0, hash);
    std::vector<std::string_view> words = wordsOf(line);
    if (!words.empty()) {
      Command cmd;
      cmd.line = lineNumber;
      if (auto error = parseLine(words, cmd)) {
        script.errors.push_back({lineNumber, *error});
      } else {
        script.commands.push_back(std::move(cmd));
      }
    }
    if (end == text.size()) break;
    pos = end + 1;
  }
  return script;
}

}  // namespace keldovar::cli
