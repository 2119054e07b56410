// Running script commands through the document controller.
#include "script/runner.h"

#include <algorithm>

#include "document/settings.h"
#include "document/step_messages.h"
#include "script/carbon_checks.h"

namespace keldovar {
namespace {

std::string trimmed(const std::string& text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
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
  source_.setCurrent(&command);
  bool ok = step(command);
  source_.setCurrent(nullptr);
  unspokenReason_ = unspokenRefusal(treatmentOf(documentCommand(command.kind)), before,
                                    controller_.lastStepResult());
  return ok;
}

bool Runner::step(const Command& command) {
  if (command.kind == CommandKind::Carbon) return setCarbon(command);
  return runStep(controller_, command.kind);
}

// As the Carbon dialog: keys not given keep their values, a refused value changes nothing.
bool Runner::setCarbon(const Command& command) {
  Checked<carbon::CarbonValues, CarbonField> checked = checkCarbonKeys(carbon(), command.fields);
  if (!checked.ok()) {
    source_.fieldRefused(carbonKey(checked.failure().focus.value_or(CarbonField::Price)));
    source_.showMessage(checked.failure().message());
    return false;
  }
  controller_.setCarbonValues(checked.accepted());
  return true;
}

std::string messageLine(const std::string& script, const RecordedMessage& message) {
  return script + ":" + std::to_string(message.line) + ": " + messageText(message);
}

std::string messageText(const RecordedMessage& message) {
  std::string line;
  std::string caption = trimmed(message.caption);
  if (!caption.empty()) line += caption + ": ";
  if (!message.key.empty()) line += message.key + ": ";
  std::string text = message.text;
  std::replace(text.begin(), text.end(), '\n', ' ');
  return line + text;
}

}  // namespace keldovar
