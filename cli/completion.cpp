// The bash completion script of keldovar-cli, written from the commands and options CLI11 knows.
#include "cli/completion.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace keldovar::cli {
namespace {

// Words a value of this name takes, when it names its choices ("text|json|csv"; not
// "K/N|auto", whose capitals stand for numbers).
std::string valueWords(const std::string& value) {
  bool named =
      std::none_of(value.begin(), value.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  if (!named || value.find('|') == std::string::npos) return {};
  std::string words = value;
  std::replace(words.begin(), words.end(), '|', ' ');
  return words;
}

}  // namespace

std::string bashCompletion(const CLI::App& app) {
  std::string commands = "--help --version";
  std::string options;
  std::string values;
  std::string commandNames;
  for (const CLI::App* command : app.get_subcommands({})) {
    commandNames += (commandNames.empty() ? "" : " ") + command->get_name();
    std::string names = "--help";
    for (const CLI::Option* option : command->get_options()) {
      if (option->get_positional() || option->check_lname("help")) continue;
      std::string name = option->get_name();
      names += " " + name;
      std::string words = valueWords(option->get_type_name());
      // An option's choices are its command's: inventory's --format is not run's.
      if (!words.empty()) {
        values += "    " + command->get_name() + ":" + name + ") words=\"" + words + "\";;\n";
      }
    }
    options += "    " + command->get_name() + ") options=\"" + names + "\";;\n";
  }
  return "# bash completion for keldovar-cli: source <(keldovar-cli completion)\n"
         "_keldovar_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} words options\n"
         "  if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
         "    COMPREPLY=($(compgen -W \"" +
         commands + " " + commandNames +
         "\" -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  case ${COMP_WORDS[1]}:$prev in\n" +
         values +
         "    *:--out-dir) COMPREPLY=($(compgen -d -- \"$cur\")); return;;\n"
         "    *:--jobs|*:--clock|*:--shard) return;;\n"
         "  esac\n"
         "  if [ -n \"$words\" ]; then COMPREPLY=($(compgen -W \"$words\" -- \"$cur\")); return; "
         "fi\n"
         "  case ${COMP_WORDS[1]} in\n" +
         options +
         "  esac\n"
         "  if [ \"${COMP_WORDS[1]}\" = help ]; then\n"
         "    COMPREPLY=($(compgen -W \"" +
         commandNames +
         "\" -- \"$cur\"))\n"
         "  elif [[ $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "  else\n"
         "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
         "  fi\n"
         "}\n"
         "complete -o filenames -F _keldovar_cli keldovar-cli\n";
}

}  // namespace keldovar::cli
