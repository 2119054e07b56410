// What the GUI tests share: a program started with scratch settings and a fixed clock, prompts
// answered from field texts, and answering a modal window the way a user would.
#pragma once

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/keldovar_app.h"
#include "script/checked_prompts.h"
#include "view/copy_text.h"
#include "view/qt/keldovar_view.h"
#include "view/qt/qt_text.h"

namespace keldovar::test {

inline const AppIdentity kScratchIdentity{"KELDOVAR Test Organization", "KELDOVAR Shell Tests"};
// The time the batch runner is given with --clock "2024-03-05 14:07:09".
inline const LocalTime kTestTime{2024, 3, 5, 14, 7, 9, weekdayOf(2024, 3, 5)};

// Dialog answers queued by a test, and every message shown meanwhile. A test may run code in
// place of the next answer, as if the user did something while that dialog was open.
class ScriptedSource final : public FieldSource {
 public:
  void answer(FieldTexts texts) { answers_.push_back(std::move(texts)); }
  void whileAsked(std::function<void()> action) { whileAsked_ = std::move(action); }
  std::optional<FieldTexts> fields(DialogId) override {
    if (whileAsked_) std::exchange(whileAsked_, nullptr)();
    if (answers_.empty()) return std::nullopt;
    FieldTexts texts = answers_.front();
    answers_.pop_front();
    return texts;
  }
  void showMessage(const Message& message) override { messages.push_back(message.text); }
  std::vector<std::string> messages;

 private:
  std::deque<FieldTexts> answers_;
  std::function<void()> whileAsked_;
};

inline QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void clearScratchSettings() {
  QSettings settings(kScratchIdentity.organization, kScratchIdentity.application);
  settings.clear();
  settings.sync();
}

// One program run: scratch settings, a fixed clock, scripted prompts and recorded URL opens.
struct TestProgram {
  // Prompts are answered from `source`, or by the program's own dialogs with `dialogs`. Help
  // Topics opens the CHM file, and whether a viewer exists cannot be told, unless `adjust`
  // says otherwise.
  explicit TestProgram(bool urlOpens = true, bool dialogs = false, bool recoveryCopies = false,
                       const std::function<void(StartOptions&)>& adjust = {}) {
    StartOptions options;
    options.recoveryCopies = recoveryCopies;
    options.helpWindow = false;
    options.hasViewer = [](const QString&) { return std::optional<bool>(); };
    options.identity = kScratchIdentity;
    options.clock = &clock;
    if (!dialogs) {
      options.makePrompts = [this](QWidget*) -> std::unique_ptr<Prompts> {
        return std::make_unique<CheckedPrompts>(source);
      };
    }
    options.openUrl = [this, urlOpens](const QUrl& url) {
      openedUrls.append(url);
      return urlOpens;
    };
    if (adjust) adjust(options);
    app = std::make_unique<CKELDOVARApp>(std::move(options));
  }
  CMainFrame& frame() { return app->mainFrame(); }
  CChildFrame& active() { return *frame().activeChild(); }
  // What the active window shows, as Select All would copy it.
  QString reportText() {
    const DocumentController& c = active().controller();
    return fromLatin1(
        selectAllText(c.store(), c.store().firstShown, c.options().showFinancial, "\n"));
  }

  FixedClock clock{kTestTime};
  ScriptedSource source;
  QList<QUrl> openedUrls;
  std::unique_ptr<CKELDOVARApp> app;
};

// The worked example's plantation as its dialog's fields, planted in the active document and
// grown to `age` by its menu commands.
inline const FieldTexts kExamplePlantation{
    {"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "herbwoody"}};
inline void plantExample(TestProgram& program, const char* age) {
  program.source.answer(kExamplePlantation);
  program.frame().runCommand(command_ids::kInitPlantation);
  program.source.answer({{"age", age}});
  program.frame().runCommand(command_ids::kGrow);
}

// Calls `answer` with the next modal window as soon as it is open, from inside its event loop.
inline void whenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    timer->stop();
    timer->deleteLater();
    answer(modal);
  });
  timer->start();
}

// Answers the next message box with `button` and keeps its text in `text`.
inline void answerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr) {
  whenModal([button, text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return;
    if (text != nullptr) *text = box->text();
    box->button(button)->click();
  });
}

// Restores the process's current directory, which start-up and File Open change.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(QDir::currentPath()) {}
  ~CurrentDirectoryGuard() { QDir::setCurrent(saved_); }

 private:
  QString saved_;
};

}  // namespace keldovar::test
