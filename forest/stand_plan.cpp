// Reading regime templates and putting a stand's initialization into them.
#include "forest/stand_plan.h"

#include <algorithm>

#include "script/script.h"

namespace keldovar::forest {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The lines as the script reader numbers them: CR, LF and CR LF each end one.
std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    lines.emplace_back(text.substr(pos, end - pos));
    if (end == text.size()) break;
    pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

bool settingsCommand(CommandKind kind) {
  return kind == CommandKind::Financial || kind == CommandKind::Merch ||
         kind == CommandKind::Carbon;
}

bool initialization(CommandKind kind) {
  return kind == CommandKind::Unthinned || kind == CommandKind::Thinned ||
         kind == CommandKind::Plantation;
}

}  // namespace

RegimeTemplate readTemplate(std::string_view text, const std::string& name) {
  RegimeTemplate regime;
  regime.name = name;
  ParsedScript parsed = parseScript(text);
  auto fail = [&](int line, const std::string& message) {
    regime.error += name + ":" + std::to_string(line) + ": " + message + "\n";
  };
  for (const SyntaxError& e : parsed.errors) fail(e.line, e.message);
  if (parsed.unlistedErrors > 0) {
    regime.error +=
        name + ": " + std::to_string(parsed.unlistedErrors) + " more syntax errors not listed\n";
  }
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  regime.lines = splitLines(text);
  regime.initializationAt = regime.lines.size();
  bool found = false;
  for (const Command& command : parsed.commands) {
    if (initialization(command.kind)) {
      fail(command.line, "the stand gives the initialization: leave this line out");
    } else if (command.kind == CommandKind::Reset) {
      fail(command.line, "reset would clear the stand: leave this line out");
    }
    if (!found && !settingsCommand(command.kind)) {
      regime.initializationAt = static_cast<std::size_t>(command.line - 1);
      found = true;
    }
  }
  return regime;
}

std::string composedScript(const RegimeTemplate& regime, const std::string& initialization) {
  std::string script;
  for (std::size_t i = 0; i <= regime.lines.size(); ++i) {
    if (i == regime.initializationAt) script += initialization + "\n";
    if (i < regime.lines.size()) script += regime.lines[i] + "\n";
  }
  return script;
}

}  // namespace keldovar::forest
