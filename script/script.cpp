// Parsing the regime script.
#include "script/script.h"

#include <algorithm>
#include <cctype>
#include <variant>

#include "engine/numeric.h"
#include "script/dialog_fields.h"
#include "script/document_commands.h"

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

// A command's line as the script writes it: the table's command and the keys it may give.
struct Syntax {
  const DocumentCommand* command = nullptr;
  std::vector<std::string> keys;
  std::vector<const ChoiceField*> choices;
};

Syntax syntaxOf(const DocumentCommand& command) {
  Syntax syntax{&command, {}, {}};
  for (DialogId dialog : command.dialogs) {
    DialogFields fields = dialogFields(dialog);
    for (const DialogField* field : fields.texts) syntax.keys.emplace_back(field->key);
    for (const ChoiceField* choice : fields.choices) {
      syntax.keys.emplace_back(choice->key);
      syntax.choices.push_back(choice);
    }
  }
  return syntax;
}

std::string_view firstWord(std::string_view words) {
  return words.substr(0, words.find(' '));
}

// The commands whose words begin with this one: one, or a command's methods ("thin row", ...).
std::vector<const DocumentCommand*> commandsOf(const std::string& word) {
  std::vector<const DocumentCommand*> found;
  for (const DocumentCommand& command : documentCommands()) {
    if (*command.words != '\0' && firstWord(command.words) == word) found.push_back(&command);
  }
  return found;
}

// "a, b or c"
std::string listed(const std::vector<std::string_view>& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
    text += words[i];
  }
  return text;
}

constexpr std::size_t kShownWordLength = 60;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kGrowWords = 2;           // grow AGE
constexpr std::size_t kMethodFirstKeyWord = 2;  // thin METHOD key=value ...

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
std::optional<std::string> checkChoice(const Syntax& syntax, const std::string& key,
                                       std::string& value) {
  for (const ChoiceField* choice : syntax.choices) {
    if (key != choice->key) continue;
    value = lower(value);
    if (choiceIndex(*choice, value)) return std::nullopt;
    std::vector<std::string_view> words;
    for (const Choice& c : choice->choices) words.emplace_back(c.word);
    return key + " is " + listed(words);
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
  if (auto error = checkChoice(syntax, key, value)) return error;
  cmd.fields[key] = value;
  return std::nullopt;
}

// The command a line names: its first word, and for a command of several methods the method.
std::variant<Syntax, std::string> lineSyntax(const std::vector<std::string_view>& words,
                                             const std::string& word) {
  std::vector<const DocumentCommand*> commands = commandsOf(word);
  if (commands.empty()) return "unknown command '" + shownWord(words[0]) + "'";
  if (commands.size() == 1 && commands.front()->words == word) return syntaxOf(*commands.front());
  std::string method = words.size() > 1 ? lower(words[1]) : std::string();
  for (const DocumentCommand* command : commands) {
    if (command->words == word + " " + method) return syntaxOf(*command);
  }
  std::vector<std::string_view> methods;
  for (const DocumentCommand* command : commands) {
    methods.push_back(std::string_view(command->words).substr(word.size() + 1));
  }
  return word + " takes a method: " + listed(methods);
}

// Parses one non-empty line; returns the error text, or nothing.
std::optional<std::string> parseLine(const std::vector<std::string_view>& words, Command& cmd) {
  std::string word = lower(words[0]);
  std::variant<Syntax, std::string> found = lineSyntax(words, word);
  if (const std::string* error = std::get_if<std::string>(&found)) return *error;
  const Syntax& syntax = std::get<Syntax>(found);
  cmd.kind = syntax.command->kind;
  if (cmd.kind == CommandKind::Grow) return parseGrow(words, cmd);
  std::size_t first = std::string_view(syntax.command->words) == word ? 1 : kMethodFirstKeyWord;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (auto error = parseField(words[i], syntax, word, cmd)) return error;
  }
  if (cmd.kind == CommandKind::ThinLow) {
    bool byBA = cmd.fields.count("ba") != 0;
    bool byDBH = cmd.fields.count("dbh") != 0;
    if (byBA == byDBH) return std::string("thin low takes exactly one of ba and dbh");
    cmd.fields[kMethodChoice.key] = byDBH ? "dbh" : "ba";
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
