// Every step driven through the program's own dialogs: the fields typed into, OK pressed, the
// messages answered, as a user does it.
// moc always sees the class; the compiler only once the dialogs are there.
#if defined(Q_MOC_RUN)
#define KELDOVAR_DIALOGS_READY
#elif __has_include("desktop/dialogs/qt_prompts.h")
#define KELDOVAR_DIALOGS_READY
#endif
#ifdef KELDOVAR_DIALOGS_READY

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <variant>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "view/copy_text.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

using Fields = QList<std::pair<QString, QString>>;
// Text typed into the focused widget, or a key pressed.
using Strokes = QList<std::variant<QString, Qt::Key>>;

// Answers each modal window that opens with the next queued answer, in order.
class DialogDriver : public QObject {
 public:
  using Answer = std::function<void(QWidget*)>;
  DialogDriver() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &DialogDriver::poll);
    timer_.start();
  }
  DialogDriver& then(Answer answer) {
    answers_.push_back(std::move(answer));
    return *this;
  }
  // Types into the named fields, ticks or selects the buttons with these texts, presses OK.
  DialogDriver& fill(Fields fields, QStringList buttons = {}) {
    return then([this, fields, buttons](QWidget* dialog) {
      for (const auto& [name, text] : fields) {
        auto* edit = dialog->findChild<QLineEdit*>(name);
        if (edit == nullptr) {
          errors << dialog->windowTitle() + ": no field " + name;
          continue;
        }
        edit->setText(text);
      }
      for (const QString& text : buttons) {
        bool found = false;
        for (auto* button : dialog->findChildren<QAbstractButton*>()) {
          if (button->text().remove('&') == text) {
            button->setChecked(true);
            found = true;
          }
        }
        if (!found) errors << dialog->windowTitle() + ": no button " + text;
      }
      press(dialog, QDialogButtonBox::Ok);
    });
  }
  // Types the moment the dialog opens, as a forester does: text into the focused field, Tab to
  // the next, arrows in a radio group, Return for OK. No widget is touched but by keys.
  DialogDriver& keys(Strokes strokes) {
    return then([this, strokes](QWidget* dialog) {
      // Keys reach the active window only; a window manager activates a new window, the
      // offscreen platform leaves that to the program.
      dialog->activateWindow();
      if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; },
                           kEventWait)) {
        errors << dialog->windowTitle() + ": not active";
      }
      for (const auto& stroke : strokes) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr) {
          errors << dialog->windowTitle() + ": no focus";
          return;
        }
        if (const auto* text = std::get_if<QString>(&stroke)) {
          QTest::keyClicks(focused, *text);
        } else {
          QTest::keyClick(focused, std::get<Qt::Key>(stroke));
        }
      }
    });
  }
  DialogDriver& cancel() {
    return then([this](QWidget* dialog) { press(dialog, QDialogButtonBox::Cancel); });
  }
  // A message box: keeps its text and presses OK.
  DialogDriver& message() {
    return then([this](QWidget* window) {
      auto* box = qobject_cast<QMessageBox*>(window);
      if (box == nullptr) errors << window->windowTitle() + ": not a message box";
      if (box != nullptr) messages << box->text();
      press(window, QDialogButtonBox::Ok);
    });
  }
  bool finished() const { return answers_.empty(); }
  // Answers nothing more: a second driver alone answers the windows after this.
  void stop() { timer_.stop(); }

  QStringList errors;
  QStringList messages;

 private:
  void press(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    auto* box = dialog->findChild<QDialogButtonBox*>();
    if (box == nullptr || box->button(which) == nullptr) {
      errors << dialog->windowTitle() + ": no such button";
      QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
      return;
    }
    box->button(which)->click();
  }
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == last_) return;
    last_ = modal;
    if (answers_.empty()) {
      // A window nobody expected: note it and close it, rather than wait for ever.
      errors << "unexpected window " + modal->windowTitle();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) messages << box->text();
      QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
      return;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    answer(modal);
  }

  QTimer timer_;
  QPointer<QWidget> last_;
  std::deque<Answer> answers_;
};

const Fields kPlantation = {{"si", "65"}, {"trees", "600"}, {"survival", "85"}};
const QString kHerbWoody = "Herb and Woody Chemical Control";

// The worked example's start through the dialogs: plant, grow to 16, thin row and low.
void plantGrowAndThin(CMainFrame& frame, DialogDriver& driver) {
  driver.fill(kPlantation, {kHerbWoody});
  frame.runCommand(cmd::kInitPlantation);
  driver.fill({{"age", "16"}});
  frame.runCommand(cmd::kGrow);
  driver.fill({{"ba", "75"}, {"row", "33"}});
  frame.runCommand(cmd::kRowLowThin);
}

}  // namespace

class DesktopStepsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void everyStepThroughItsDialogs() {
    TestProgram program(true, true);
    program.app->start({});
    CMainFrame& frame = program.frame();
    DialogDriver driver;
    frame.runCommand(cmd::kNew);
    QCOMPARE(frame.children().size(), 2);
    const TableStore* store = &program.active().controller().store();
    driver.fill({{"age", "16"}, {"trees", "550"}, {"ba", "95"}, {"si", "62"}});
    frame.runCommand(cmd::kInitUnthinned);
    QCOMPARE(store->lastIndex, 0);
    driver.fill({{"age", "18"}, {"ba", "80"}, {"trees", "400"}, {"thinage", "14"}, {"si", "60"}})
        .then([](QWidget* percent) {
          percent->findChildren<QLineEdit*>().constFirst()->setText("30");
          percent->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
    frame.runCommand(cmd::kInitThinned);
    QCOMPARE(store->lastIndex, 1);
    driver.fill(kPlantation, {kHerbWoody});
    frame.runCommand(cmd::kInitPlantation);
    driver.fill({{"age", "16"}});
    frame.runCommand(cmd::kGrow);
    driver.fill({{"n", "150"}});
    frame.runCommand(cmd::kFertilize);
    QCOMPARE(store->snapshot.fertRecordPending, 1);
    driver.fill({{"ba", "75"}, {"row", "33"}});
    frame.runCommand(cmd::kRowLowThin);
    driver.fill({{"age", "26"}});
    frame.runCommand(cmd::kGrow);
    driver.fill({}, {"Specify DBH"}).fill({{"dbh", "7"}});
    frame.runCommand(cmd::kLowThin);
    driver.fill({{"age", "30"}});
    frame.runCommand(cmd::kGrow);
    driver.fill({{"ba", "90"}});
    frame.runCommand(cmd::kRowThin);
    driver.fill({}, {"Specify Basal Area"}).fill({{"ba", "85"}});
    frame.runCommand(cmd::kLowThin);
    driver.fill({{"age", "40"}});
    frame.runCommand(cmd::kGrow);
    driver.fill({{"ba", "70"}});
    frame.runCommand(cmd::kThinomatic);
    frame.runCommand(cmd::kHarvest);
    QVERIFY2(driver.errors.isEmpty(),
             qPrintable(driver.errors.join("; ") + " / " + driver.messages.join("; ")));
    QVERIFY(driver.finished());
    QCOMPARE(store->lastIndex, 12);
    QVERIFY(store->tables[12].historyLast >= 0);
  }

  void cancellingADialogAbortsTheStep() {
    TestProgram program(true, true);
    program.app->start({});
    const TableStore& store = program.active().controller().store();
    DialogDriver driver;
    driver.cancel().message();
    program.frame().runCommand(cmd::kInitPlantation);
    QCOMPARE(store.lastIndex, -1);
    driver.fill(kPlantation);
    program.frame().runCommand(cmd::kInitPlantation);
    driver.cancel().message();
    program.frame().runCommand(cmd::kGrow);
    QCOMPARE(driver.messages,
             QStringList(2, "Returning to previous conditions. Function aborted."));
    QCOMPARE(store.lastIndex, 0);
  }

  void theSameFileAsTheBatchRunnerThroughTheDialogs() {
    QTemporaryDir folder;
    QFile script(folder.filePath("regime.kdr"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        "plantation si=65 trees=600 survival=85 control=herbwoody\ngrow 16\n"
        "thin rowlow ba=75 row=33\ngrow 26\nthin thinomatic ba=90\ngrow 32\nharvest\n");
    script.close();
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH, {"run", script.fileName(), "--clock", "2024-03-05 14:07:09",
                                  "--out", folder.filePath("cli.kdv")});
    QVERIFY(cli.waitForFinished());
    TestProgram program(true, true);
    program.app->start({});
    CMainFrame& frame = program.frame();
    DialogDriver driver;
    plantGrowAndThin(frame, driver);
    driver.fill({{"age", "26"}});
    frame.runCommand(cmd::kGrow);
    driver.fill({{"ba", "90"}});
    frame.runCommand(cmd::kThinomatic);
    driver.fill({{"age", "32"}});
    frame.runCommand(cmd::kGrow);
    frame.runCommand(cmd::kHarvest);
    QVERIFY2(driver.errors.isEmpty(),
             qPrintable(driver.errors.join("; ") + " / " + driver.messages.join("; ")));
    QString path = folder.filePath("desktop.kdv");
    QVERIFY(program.active().document().saveTo(path).ok());
    QByteArray batch = fileBytes(folder.filePath("cli.kdv"));
    QVERIFY(!batch.isEmpty());
    QCOMPARE(fileBytes(path), batch);

    // The same regime typed at once, by keys alone: the commands' keys, then each dialog's
    // fields in their order, Tab between them and Return for OK.
    driver.stop();
    program.app.reset();
    clearScratchSettings();
    TestProgram typist(true, true);
    typist.app->start({});
    CMainFrame& window = typist.frame();
    DialogDriver keys;
    auto command = [&window](Qt::Key key) {
      window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      QTest::keyClick(&window, key, Qt::ControlModifier);
    };
    const Qt::Key tab = Qt::Key_Tab, enter = Qt::Key_Return;
    keys.keys({"65", tab, "600", tab, "85", tab, Qt::Key_Down, Qt::Key_Down, enter});
    command(Qt::Key_W);
    for (auto [key, strokes] :
         std::initializer_list<std::pair<Qt::Key, Strokes>>{{Qt::Key_G, {"16", enter}},
                                                            {Qt::Key_A, {"75", tab, "33", enter}},
                                                            {Qt::Key_G, {"26", enter}},
                                                            {Qt::Key_M, {"90", enter}},
                                                            {Qt::Key_G, {"32", enter}}}) {
      keys.keys(strokes);
      command(key);
    }
    command(Qt::Key_H);
    QVERIFY2(keys.errors.isEmpty(),
             qPrintable(keys.errors.join("; ") + " / " + keys.messages.join("; ")));
    QVERIFY(keys.finished());
    QString typed = folder.filePath("typed.kdv");
    QVERIFY(typist.active().document().saveTo(typed).ok());
    QCOMPARE(fileBytes(typed), batch);
  }

  // Documents made one after the other in one run each store only their own data: the batch
  // runner's file for the same steps, byte for byte. The first grows far, so that the engine
  // would hold more classes, history records and lines than the second fills.
  void eachNewDocumentStoresTheBatchRunnersFile() {
    QTemporaryDir folder;
    using Steps = std::function<void(CMainFrame&, DialogDriver&)>;
    const std::pair<const char*, Steps> regimes[] = {
        {"plantation si=65 trees=600 survival=85 control=herbwoody\ngrow 16\n"
         "thin rowlow ba=75 row=33\ngrow 40\n",
         [](CMainFrame& frame, DialogDriver& driver) {
           plantGrowAndThin(frame, driver);
           driver.fill({{"age", "40"}});
           frame.runCommand(cmd::kGrow);
         }},
        {"plantation si=60 trees=500 survival=80\ngrow 12\n",
         [](CMainFrame& frame, DialogDriver& driver) {
           driver.fill({{"si", "60"}, {"trees", "500"}, {"survival", "80"}});
           frame.runCommand(cmd::kInitPlantation);
           driver.fill({{"age", "12"}});
           frame.runCommand(cmd::kGrow);
         }},
    };
    TestProgram program(true, true);
    program.app->start({});
    DialogDriver driver;
    for (int n = 0; n < 2; ++n) {
      QString batch = folder.filePath(QString("cli%1.kdv").arg(n));
      QProcess cli;
      cli.start(KELDOVAR_CLI_PATH, {"run", "-", "--clock", "2024-03-05 14:07:09", "--out", batch});
      cli.write(regimes[n].first);
      cli.closeWriteChannel();
      QVERIFY(cli.waitForFinished() && cli.exitCode() == 0);
      if (n > 0) program.frame().runCommand(cmd::kNew);
      regimes[n].second(program.frame(), driver);
      QVERIFY2(driver.errors.isEmpty(), qPrintable(driver.errors.join("; ")));
      QString saved = folder.filePath(QString("%1.kdv").arg(n));
      QVERIFY(program.active().document().saveTo(saved).ok());
      QCOMPARE(fileBytes(saved), fileBytes(batch));
    }
  }
};
KELDOVAR_GUI_TEST(DesktopStepsTest);

#include "desktop_steps_test.moc"

#endif
