// Parsing the regime script.
#include "script/script.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "engine/financial_values.h"
#include "engine/numeric.h"

namespace keldovar {
namespace {

std::string formatByte(unsigned char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  return std::string("\\x") + kHex[c >> 4] + kHex[c & 0xF];
}

std::string lower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
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
  if (word == "carbon") return Syntax{CommandKind::Carbon, {"price", "baseline"}};
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

constexpr std::size_t kShownWordLength = 60;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kGrowWords = 2;         // grow AGE
constexpr std::size_t kThinFirstKeyWord = 2;  // thin METHOD key=value ...

bool isControl(unsigned char c) {
  return c < 0x20 || c == 0x7f;
}
bool continuesCharacter(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

std::optional<std::string> parseGrow(const std::vector<std::string_view>& words, Command& cmd) {
  if (words.size() != kGrowWords || words[1].find('=') != std::string_view::npos) {
    return std::string("grow takes exactly one age");
  }
  cmd.kind = CommandKind::Grow;
  cmd.fields["age"] = std::string(words[1]);
  return std::nullopt;
}

// The choice words are checked here; every other value is the dialogs' to check.
std::optional<std::string> checkChoice(const std::string& key, std::string& value) {
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
  return std::nullopt;
}

std::optional<std::string> parseField(std::string_view word, const Syntax& syntax,
                                      const std::string& command, Command& cmd) {
  std::size_t eq = word.find('=');
  if (eq == std::string_view::npos || eq == 0) {
    return "'" + shownWord(word) + "' is not key=value";
  }
  std::string key = lower(word.substr(0, eq));
  if (std::find(syntax.keys.begin(), syntax.keys.end(), key) == syntax.keys.end()) {
    return "unknown key '" + shownWord(key) + "' for " + command;
  }
  if (cmd.fields.count(key) != 0) return "key '" + key + "' given twice";
  std::string value(word.substr(eq + 1));
  if (auto error = checkChoice(key, value)) return error;
  cmd.fields[key] = value;
  return std::nullopt;
}

// Parses one non-empty line; returns the error text, or nothing.
std::optional<std::string> parseLine(const std::vector<std::string_view>& words, Command& cmd) {
  std::string word = lower(words[0]);
  std::optional<Syntax> syntax = commandSyntax(word);
  if (!syntax) return "unknown command '" + shownWord(words[0]) + "'";
  if (syntax->kind == CommandKind::Grow) return parseGrow(words, cmd);
  std::size_t first = 1;
  if (word == "thin") {
    std::string method = words.size() > 1 ? lower(words[1]) : std::string();
    syntax = thinSyntax(method);
    if (!syntax) return std::string("thin takes a method: row, thinomatic, low or rowlow");
    first = kThinFirstKeyWord;
  }
  cmd.kind = syntax->kind;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (auto error = parseField(words[i], *syntax, word, cmd)) return error;
  }
  if (cmd.kind == CommandKind::ThinLow) {
    bool byBA = cmd.fields.count("ba") != 0;
    bool byDBH = cmd.fields.count("dbh") != 0;
    if (byBA == byDBH) return std::string("thin low takes exactly one of ba and dbh");
    cmd.fields["method"] = byDBH ? "dbh" : "ba";
  }
  return std::nullopt;
}

void parseNumberedLine(std::string_view line, int lineNumber, ParsedScript& script) {
  std::size_t hash = line.find('#');
  if (hash != std::string_view::npos) line = line.substr(0, hash);
  std::vector<std::string_view> words = wordsOf(line);
  if (words.empty()) return;
  Command cmd;
  cmd.line = lineNumber;
  if (auto error = parseLine(words, cmd)) {
    if (script.errors.size() < kListedErrorCapacity) {
      script.errors.push_back({lineNumber, *error});
    } else {
      ++script.unlistedErrors;
    }
  } else {
    script.commands.push_back(std::move(cmd));
  }
}

constexpr std::size_t kRelativeAgeDigits = 3;

}  // namespace

std::string growAgeText(std::string_view written, double standAge) {
  std::string_view digits = written.substr(written.starts_with('+') ? 1 : written.size());
  bool relative =
      !digits.empty() && digits.size() <= kRelativeAgeDigits &&
      std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!relative) return std::string(written);
  return std::to_string(truncToInt(standAge) + std::stoi(std::string(digits)));
}

std::string shownWord(std::string_view word) {
  std::string shown;
  std::size_t characters = 0;
  for (char ch : word) {
    auto c = static_cast<unsigned char>(ch);
    if (!continuesCharacter(c) && characters++ == kShownWordLength) return shown + "...";
    if (isControl(c)) {
      shown += formatByte(c);
    } else {
      shown += ch;
    }
  }
  return shown;
}

ParsedScript parseScript(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  ParsedScript script;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    parseNumberedLine(text.substr(pos, end - pos), ++lineNumber, script);
    if (end == text.size()) break;
    pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return script;
}

}  // namespace keldovar
