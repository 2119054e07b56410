// Help where no CHM viewer comes with the system: Help Topics opens the program's own help
// window; and the manual is opened only when the desktop has a PDF viewer, else the reader
// message says why nothing opened.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

const QString kReaderMessage =
    "The Adobe Acrobat Reader must be installed on your computer before you may view the user "
    "manual.\n https://get.adobe.com/reader/";

// An XDG environment of its own, with or without a default application for PDF files.
class ScratchDesktop {
 public:
  explicit ScratchDesktop(bool pdfViewer) {
    QDir root(dir_.path());
    root.mkpath("config");
    root.mkpath("data/applications");
    if (pdfViewer) {
      write("config/mimeapps.list", "[Default Applications]\napplication/pdf=viewer.desktop\n");
      write("data/applications/viewer.desktop",
            "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %f\n"
            "MimeType=application/pdf;\n");
    }
    for (const char* name :
         {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "DESKTOP_SESSION", "GNOME_DESKTOP_SESSION_ID",
          "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"}) {
      saved_.emplace_back(name, qgetenv(name));
      qunsetenv(name);
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root.filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("data")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath("data")));
  }
  ~ScratchDesktop() {
    for (const auto& [name, value] : saved_) {
      if (value.isNull()) {
        qunsetenv(name);
      } else {
        qputenv(name, value);
      }
    }
  }

 private:
  void write(const char* name, const char* text) {
    QFile file(QDir(dir_.path()).filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(text);
  }
  QTemporaryDir dir_;
  std::vector<std::pair<const char*, QByteArray>> saved_;
};

// About's manual button in a program whose desktop answers `viewer` (-1 cannot tell, 0 none,
// 1 one) and whose opener answers `opens`: the message shown, if any, and whether the file was
// handed over.
QString manualMessage(int viewer, bool opens, bool* handedOver) {
  QTemporaryDir folder;
  CurrentDirectoryGuard guard;
  QDir::setCurrent(folder.path());
  QFile(folder.filePath(kManualFileName)).open(QIODevice::WriteOnly);
  TestProgram program(opens, false, false, [viewer](StartOptions& options) {
    options.hasViewer = [viewer](const QString& type) -> std::optional<bool> {
      if (type != kManualFileType || viewer < 0) return std::nullopt;
      return viewer == 1;
    };
  });
  program.app->start({});
  QString text;
  whenModal([&text](QWidget* about) {
    // Answered inside the box's own loop, if one opens.
    QTimer::singleShot(0, [&text] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        text = box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    about->findChild<QPushButton*>("manualButton")->click();
    QCoreApplication::processEvents();
    qobject_cast<QDialog*>(about)->accept();
  });
  program.frame().runCommand(cmd::kAbout);
  *handedOver = !program.openedUrls.isEmpty();
  return text;
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void helpTopicsOpensTheProgramsHelp() {
    TestProgram program(true, false, false,
                        [](StartOptions& options) { options.helpWindow = true; });
    program.app->start({});
    CMainFrame& frame = program.frame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F1);
    HelpWindow* help = frame.helpWindow();
    QVERIFY(help != nullptr && help->isVisible());
    QVERIFY(program.openedUrls.isEmpty());  // no CHM handed to the desktop
    auto* browser = help->findChild<QTextBrowser*>("helpPage");
    auto* contents = help->findChild<QTreeWidget*>("helpContents");
    QVERIFY(help->pages().size() > 10);
    QCOMPARE(contents->topLevelItemCount(), static_cast<int>(help->pages().size()));
    QCOMPARE(contents->topLevelItem(0)->text(0), QString("Welcome to KELDOVAR"));
    QCOMPARE(help->currentPage(), QString("index.html"));
    QVERIFY(browser->toPlainText().contains("KELDOVAR"));
    // A contents entry, then Back and Forward.
    QTreeWidgetItem* commands = contents->findItems("Commands", Qt::MatchExactly).value(0);
    QVERIFY(commands != nullptr);
    contents->scrollToItem(commands);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(commands).center());
    QCOMPARE(help->currentPage(), QString("commands.html"));
    help->findChild<QAction*>("helpBack")->trigger();
    QCOMPARE(help->currentPage(), QString("index.html"));
    help->findChild<QAction*>("helpForward")->trigger();
    QCOMPARE(help->currentPage(), QString("commands.html"));
    // A link of the page.
    browser->setSource(QUrl("getting-started.html"));
    QCOMPARE(help->currentPage(), QString("getting-started.html"));
    QCOMPARE(contents->currentItem()->text(0), QString("Getting started: a first regime"));
    // The search over every page.
    QTest::keyClicks(help->findChild<QLineEdit*>("helpSearch"), "thinomatic residual");
    auto* results = help->findChild<QListWidget*>("helpResults");
    QVERIFY(results->count() >= 2);
    QList<QListWidgetItem*> thinning =
        results->findItems("The thinning methods compared", Qt::MatchExactly);
    QCOMPARE(thinning.size(), 1);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualItemRect(thinning[0]).center());
    QCOMPARE(help->currentPage(), QString("thinning.html"));
    QCOMPARE(browser->textCursor().selectedText().toLower(), QString("thinomatic"));
    QVERIFY(help->search("no-such-word-anywhere").isEmpty());
    // F1 again brings the same window forward.
    frame.runCommand(cmd::kHelp);
    QCOMPARE(frame.helpWindow(), help);
  }

  // Whether a viewer exists decides before the desktop's opener, which on Linux reports success
  // even when nothing can show the file.
  void theManualOpensOnlyWithAViewer_data() {
    QTest::addColumn<int>("viewer");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("handedOver");
    QTest::newRow("no viewer, opener says yes") << 0 << true << kReaderMessage << false;
    QTest::newRow("a viewer") << 1 << true << QString() << true;
    QTest::newRow("a viewer that fails")
        << 1 << false << "Unable to launch KELDOVAR Documentation and User's Manual.pdf" << true;
    QTest::newRow("cannot tell, opener fails") << -1 << false << kReaderMessage << true;
  }
  void theManualOpensOnlyWithAViewer() {
    QFETCH(int, viewer);
    QFETCH(bool, opens);
    QFETCH(QString, message);
    QFETCH(bool, handedOver);
    bool handed = false;
    QCOMPARE(manualMessage(viewer, opens, &handed), message);
    QCOMPARE(handed, handedOver);
  }

  // The desktop's own MIME database, asked through xdg-mime, both ways.
  void theDesktopIsAskedForADefaultApplication() {
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty()) QSKIP("xdg-mime is not installed");
    ViewerCheck check = desktopViewerCheck();
    {
      ScratchDesktop desktop(false);
      QCOMPARE(check(kManualFileType), std::optional<bool>(false));
    }
    ScratchDesktop desktop(true);
    QCOMPARE(check(kManualFileType), std::optional<bool>(true));
  }
};
KELDOVAR_GUI_TEST(HelpWindowTest);

#include "help_window_test.moc"
