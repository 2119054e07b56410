// Running script commands through the document controller.
#include "cli/runner.h"

#include <algorithm>

#include "app/settings.h"
#include "view/step_messages.h"

namespace keldovar::cli {
namespace {

std::string trimmed(const std::string& text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

bool isThinning(CommandKind kind) {
  return kind == CommandKind::ThinRow || kind == CommandKind::ThinThinomatic ||
         kind == CommandKind::ThinLow || kind == CommandKind::ThinRowLow;
}

// The engine refuses a second thinning at one age without a message of its own. Seen from
// outside: a thinning failed while the stand's lock forbade it, and nothing but the abort
// message was shown (every other refusal before the lock check shows its own message).
bool refusedSecondThinning(CommandKind kind, const StandSnapshot& before,
                           std::size_t messagesShown) {
  if (!isThinning(kind) || before.initialized == 0 || before.truncatedDistribution != 0) {
    return false;
  }
  bool locked = kind == CommandKind::ThinLow ? before.thinLock == -1 : before.thinLock < 0;
  return locked && messagesShown == 1;
}

}  // namespace

std::optional<FieldTexts> ScriptSource::fields(DialogId) {
  if (current_ == nullptr) return std::nullopt;
  return current_->fields;
}

void ScriptSource::showMessage(const Message& message) {
  messages_.push_back(
      {current_ != nullptr ? current_->line : 0, message.caption, message.text, refusedKey_});
  refusedKey_.clear();
}

Runner::Runner(const Clock& clock, const ViewOptions& options)
    : session_(&clock),
      prompts_(source_),
      controller_(session_, prompts_, settings_, builtInDefaults().settings, options) {}

bool Runner::run(const Command& command) {
  StandSnapshot before = controller_.store().snapshot;
  std::size_t shown = source_.messages().size();
  source_.setCurrent(&command);
  bool ok = step(command);
  source_.setCurrent(nullptr);
  bool refused =
      !ok && refusedSecondThinning(command.kind, before, source_.messages().size() - shown);
  unspokenReason_ = refused ? kThinRefusedReason : nullptr;
  return ok;
}

bool Runner::step(const Command& command) {
  return econ::runStep(controller_, command.kind);
}

std::string messageLine(const std::string& script, const RecordedMessage& message) {
  std::string line = script + ":" + std::to_string(message.line) + ": ";
  std::string caption = trimmed(message.caption);
  if (!caption.empty()) line += caption + ": ";
  if (!message.key.empty()) line += message.key + ": ";
  std::string text = message.text;
  std::replace(text.begin(), text.end(), '\n', ' ');
  return line + text;
}

}  // namespace keldovar::cli
