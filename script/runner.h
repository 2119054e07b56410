// Runs a parsed regime script through one document, as a user typing the same values into the
// same dialogs would.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document/document_controller.h"
#include "script/checked_prompts.h"
#include "script/script.h"

namespace keldovar {

struct RecordedMessage {
  int line = 0;
  std::string caption;
  std::string text;
  std::string key;  // the script key of the field a dialog check refused, if any
};

// The script's answers to the dialogs of its current command, and the messages shown meanwhile.
class ScriptSource final : public FieldSource {
 public:
  void setCurrent(const Command* command) { current_ = command; }
  // No messages and no command, the vector's room kept.
  void clear();
  std::optional<FieldTexts> fields(DialogId dialog) override;
  void showMessage(const Message& message) override;
  void fieldRefused(const std::string& key) override { refusedKey_ = key; }
  const std::vector<RecordedMessage>& messages() const { return messages_; }

 private:
  const Command* current_ = nullptr;
  std::vector<RecordedMessage> messages_;
  std::string refusedKey_;
};

class Runner {
 public:
  // The document starts with the built-in defaults, never the user's stored ones, so that a
  // script gives the same result on every machine.
  Runner(const Clock& clock, const ViewOptions& options);

  // A new document on the same engine, as a new Runner has them: the earlier document's steps,
  // messages and defaults are gone, the engine and the table store keep what they allocated.
  void startOver();

  // Continues `content` (a document branched from a stand file) instead of an empty one.
  void startFrom(DocumentContent content) { controller_.adoptContent(std::move(content)); }

  // Runs one command; false when its step failed.
  bool run(const Command& command);
  // Why the last step failed when no message said so, else nullptr.
  const char* unspokenReason() const { return unspokenReason_; }

  const DocumentController& document() const { return controller_; }
  // The carbon price and baseline the script's `carbon` commands set; none at the start.
  const CarbonValues& carbon() const { return controller_.content().carbon; }
  const std::vector<RecordedMessage>& messages() const { return source_.messages(); }

 private:
  ViewOptions options_;
  Session session_;
  MemorySettingsStore settings_;
  ScriptSource source_;
  CheckedPrompts prompts_;
  DocumentController controller_;
  const char* unspokenReason_ = nullptr;

  bool step(const Command& command);
  bool setCarbon(const Command& command);
};

// A message as standard error shows it on one line: "SCRIPT:LINE: caption: key: text", without
// the caption when it is blank and without the key when no field was refused.
std::string messageLine(const std::string& script, const RecordedMessage& message);
// The same without "SCRIPT:LINE: ".
std::string messageText(const RecordedMessage& message);

}  // namespace keldovar
