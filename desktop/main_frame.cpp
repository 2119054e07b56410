// The main window and the commands it runs for the active document window.
#include "desktop/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

#include "desktop/about_dlg.h"
#include "desktop/branch_command.h"
#include "desktop/compare_window.h"
#include "desktop/dialogs/carbon_dlg.h"
#include "desktop/find_regime_dlg.h"
#include "desktop/forest_frame.h"
#include "desktop/sensitivity_window.h"
#include "desktop/units_option.h"
#include "desktop/window_state.h"
#include "document/settings.h"
#include "document/step_messages.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace cmd = command_ids;

namespace {

const QString kFileFilter = QStringLiteral("KLDVR Files (*.kdv)");

// Clears a flag however the scope is left.
class StepScope {
 public:
  explicit StepScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~StepScope() { flag_ = false; }
  StepScope(const StepScope&) = delete;
  StepScope& operator=(const StepScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

CMainFrame::CMainFrame(AppContext& context, Launcher launcher, bool helpWindow)
    : context_(context),
      launcher_(std::move(launcher)),
      useHelpWindow_(helpWindow),
      output_(std::make_unique<ReportOutput>(context.settings.settings())) {
  setObjectName("mainFrame");
  setWindowTitle(QStringLiteral("KELDOVAR"));
  setAcceptDrops(true);
  mdiArea_ = new QMdiArea(this);
  setCentralWidget(mdiArea_);
  actions_ = std::make_unique<CommandActions>(*this, [this](int id) { runCommand(id); });
  actions_->buildMenus(*this);
  actions_->buildToolBar(*this);
  recentFiles_ =
      std::make_unique<RecentFiles>(context_.settings.settings(), actions_->recentFileActions());
  buildStatusBar();
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateCommandStates);
  QApplication::instance()->installEventFilter(this);
  updateCommandStates();
}

CMainFrame::~CMainFrame() {
  QApplication::instance()->removeEventFilter(this);
  // The document windows go down with the area; nothing is left to update by then.
  mdiArea_->disconnect(this);
  for (CChildFrame* frame : children()) frame->disconnect(this);
}

void CMainFrame::buildStatusBar() {
  auto makePane = [this](const QString& name, int characters) {
    auto* pane = new QLabel(this);
    pane->setObjectName(name);
    pane->setMinimumWidth(fontMetrics().horizontalAdvance(QString(characters, QLatin1Char(' '))));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(pane);
    return pane;
  };
  capsPane_ = makePane(QStringLiteral("capsLockPane"), 4);
  numPane_ = makePane(QStringLiteral("numLockPane"), 4);
  modifiedPane_ = makePane(QStringLiteral("modifiedPane"), 19);
  statusBar()->showMessage(QStringLiteral("Ready"));
}

CChildFrame* CMainFrame::activeChild() const {
  return qobject_cast<CChildFrame*>(mdiArea_->activeSubWindow());
}

QList<CChildFrame*> CMainFrame::children() const {
  QList<CChildFrame*> frames;
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (auto* frame = qobject_cast<CChildFrame*>(window)) frames.append(frame);
  }
  return frames;
}

void CMainFrame::updateCommandStates() {
  CChildFrame* child = activeChild();
  actions_->showDocumentMenus(child != nullptr);
  for (const auto& [id, action] : actions_->actions()) {
    action->setEnabled(child != nullptr || !actions_->needsDocument(id));
  }
  action(cmd::kToolbar)->setChecked(!findChild<QToolBar*>()->isHidden());
  action(cmd::kStatusBar)->setChecked(!statusBar()->isHidden());
  action(cmd::kFitPageWidth)->setChecked(output_->choices().fitWidth);
  showWindows(child);
  if (child == nullptr) {
    modifiedPane_->clear();
    return;
  }
  const DocumentController& controller = child->controller();
  bool hasTable = controller.store().lastIndex >= 0;
  // Printing an empty report would do nothing: say so by disabling it.
  for (int id : {cmd::kSave, cmd::kSaveAs, cmd::kSelectAll, cmd::kPrint, cmd::kPrintPreview,
                 cmd::kExportPdf, cmd::kExportCsv, cmd::kFitWidth, cmd::kNewFromHere}) {
    action(id)->setEnabled(hasTable);
  }
  action(cmd::kUndo)->setEnabled(controller.canUndo());
  action(cmd::kCopy)->setEnabled(child->view().canCopy());
  action(cmd::kSensitivity)->setEnabled(econ::newestHarvest(controller.store()) != nullptr);
  action(cmd::kIncludeFinancial)->setChecked(controller.options().showFinancial);
  action(cmd::kIncludeBargraph)->setChecked(controller.options().showBargraph);
  action(cmd::kIncludeCarbon)->setChecked(controller.options().showCarbon);
  action(cmd::kMetricUnits)->setChecked(controller.options().units == UnitSystem::Metric);
  action(cmd::kAllTables)->setChecked(controller.options().showAllTables);
  modifiedPane_->setText(controller.modified() ? "Modified" : "");
}

void CMainFrame::showWindows(CChildFrame* active) {
  QStringList titles;
  int activeIndex = -1;
  for (CChildFrame* frame : children()) {
    if (frame == active) activeIndex = static_cast<int>(titles.size());
    titles << frame->document().title();
  }
  actions_->showWindows(titles, activeIndex);
  // A maximized document window's title is shown by the toolkit in brackets after the
  // program's: the program's own caption then leaves it out.
  QString title = "KELDOVAR";
  if (active != nullptr && !active->isMaximized()) title += " - " + active->document().title();
  if (active != nullptr && active->isMaximized())
    title += " - [" + active->document().title() + "]";
  if (windowTitle() != title) setWindowTitle(title);
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // The toolkit names a maximized document window in the caption on its own, whatever the
  // caption was; the program's caption wins.
  if (event->type() == QEvent::WindowTitleChange && actions_ != nullptr) {
    showWindows(activeChild());
  }
}

void CMainFrame::showStepRefusal(const std::string& reason) {
  statusBar()->showMessage(fromLatin1(reason));
}

void CMainFrame::runCommand(int id) {
  if (stepRunning_) {
    // Only reachable around a modal dialog (a key or a call that bypasses it).
    QApplication::beep();
    showStepRefusal("Finish or cancel the open dialog first.");
    return;
  }
  StepScope scope(stepRunning_);
  // A refusal's reason is about the command that was refused, not the next one.
  statusBar()->showMessage("Ready");
  CChildFrame* child = activeChild();
  if (child == nullptr || !runDocumentCommand(id, *child)) runFileCommand(id);
  updateCommandStates();
  // The report takes the keys whenever its window is the active one.
  if (CChildFrame* active = activeChild(); active != nullptr && isActiveWindow()) {
    active->view().setFocus();
  }
}

// A thinning the engine refused without a word gets the reason in the status bar.
bool CMainFrame::runStepCommand(int id, CChildFrame& frame) {
  const DocumentCommand* command = commandOfMenu(id);
  if (command == nullptr) return false;
  DocumentController& controller = frame.controller();
  StandSnapshot before = controller.store().snapshot;
  std::string title = toLatin1(frame.document().title());
  CommandTarget target{controller, frame.host(), title};
  perform(*command, target);
  int treatment = treatmentOf(*command);
  if (const char* reason = unspokenRefusal(treatment, before, controller.lastStepResult())) {
    showStepRefusal(reason);
  }
  return true;
}

bool CMainFrame::runDocumentCommand(int id, CChildFrame& frame) {
  if (runStepCommand(id, frame) || output_->run(id, frame, this)) return true;
  if (id >= cmd::kWindow1 && id < cmd::kWindow1 + kWindowListCount) {
    QList<CChildFrame*> frames = children();
    if (id - cmd::kWindow1 < frames.size())
      mdiArea_->setActiveSubWindow(frames[id - cmd::kWindow1]);
    return true;
  }
  switch (id) {
    case cmd::kCarbonValues:
      editCarbonValues(this, frame.controller(), context_.settings);
      break;
    case cmd::kMetricUnits:
      switchUnits(children(), context_.settings);
      break;
    case cmd::kSelectAll:
      frame.view().selectAll();
      break;
    case cmd::kCopy:
      frame.view().copy();
      break;
    case cmd::kIncreaseFont:
      frame.view().changeFontSize(1);
      break;
    case cmd::kDecreaseFont:
      frame.view().changeFontSize(-1);
      break;
    case cmd::kNormalFontSize:
      frame.view().changeFontSize(frame.view().normalSizeSteps());
      break;
    case cmd::kFitWidth:
      frame.view().changeFontSize(frame.view().fitWidthSteps());
      break;
    case cmd::kUndo:
      frame.controller().undo();
      break;
    case cmd::kClose:
      frame.close();
      break;
    case cmd::kSave:
      saveDocument(frame, false);
      break;
    case cmd::kSaveAs:
      saveDocument(frame, true);
      break;
    case cmd::kFindRegime:
      findRegime(frame.controller().content().settings, frame.controller().content().carbon);
      break;
    case cmd::kSensitivity:
      SensitivityWindow::showFor(frame, this);
      break;
    case cmd::kCompareRegimes:
      CompareWindow::showFor(*this, {});
      break;
    case cmd::kNewFromHere:
      newDocumentFromHere(*this, frame, frame.view().chosenTable());
      break;
    case cmd::kCascade:
      mdiArea_->cascadeSubWindows();
      break;
    case cmd::kTile:
      mdiArea_->tileSubWindows();
      break;
    default:
      return false;
  }
  return true;
}

void CMainFrame::findRegime(const DocumentSettings& settings, const CarbonValues& carbon) {
  FindRegimeDlg dialog(this, settings, carbon, readUnitSystem(context_.settings));
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<std::vector<Step>> regimes = dialog.regimesToOpen();
  SystemClock systemClock;
  const Clock* clock = context_.session.engine.clock();
  QList<CChildFrame*> opened;
  for (const std::vector<Step>& steps : regimes) {
    std::optional<DocumentContent> content =
        runSteps(steps, clock != nullptr ? *clock : systemClock);
    if (!content) {
      showStepRefusal("The regime could not be run again.");
      return;
    }
    opened << openContent(std::move(*content));
  }
  if (opened.size() > 1) CompareWindow::showFor(*this, opened);
}

CChildFrame* CMainFrame::openContent(DocumentContent content) {
  CChildFrame* frame = newDocument();
  frame->controller().adoptContent(std::move(content));
  frame->view().resetShown();
  return frame;
}

void CMainFrame::runFileCommand(int id) {
  if (id >= cmd::kRecentFile1 && id < cmd::kRecentFile1 + kRecentFileCount) {
    openRecentFile(id - cmd::kRecentFile1);
    return;
  }
  switch (id) {
    case cmd::kNew:
      newDocument();
      break;
    case cmd::kOpen:
      openCommand();
      break;
    case cmd::kOpenInventory:
      openInventoryWindow(this, *mdiArea_,
                          [this](DocumentContent c) { openContent(std::move(c)); });
      break;
    case cmd::kPrintSetup:
      output_->setUpPage(this);
      break;
    case cmd::kExit:
      close();
      break;
    case cmd::kToolbar: {
      auto* toolBar = findChild<QToolBar*>();
      toolBar->setVisible(!toolBar->isVisible());
      break;
    }
    case cmd::kStatusBar:
      statusBar()->setVisible(statusBar()->isHidden());
      break;
    case cmd::kHelpTopics:
    case cmd::kHelp:
    case cmd::kContextHelp:
      helpCommand();
      break;
    case cmd::kAbout:
      aboutCommand();
      break;
    default:
      break;
  }
}

void CMainFrame::addChild(CChildFrame* frame) {
  mdiArea_->addSubWindow(frame);
  connect(frame, &CChildFrame::stateChanged, this, &CMainFrame::updateCommandStates);
  connect(frame, &QObject::destroyed, this, &CMainFrame::updateCommandStates, Qt::QueuedConnection);
  connect(frame, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::updateCommandStates);
  // Ctrl and the wheel run Increase or Decrease Font Size, a step a notch.
  connect(&frame->view(), &CKELDOVARView::fontStepsRequested, this, [this](int steps) {
    for (int i = 0; i < std::abs(steps); ++i)
      runCommand(steps > 0 ? cmd::kIncreaseFont : cmd::kDecreaseFont);
  });
  frame->showMaximized();
  mdiArea_->setActiveSubWindow(frame);
  attachReportMenu(*this, *frame);
}

CChildFrame* CMainFrame::newDocument() {
  auto* frame = new CChildFrame(context_, QStringLiteral("KLDVR%1").arg(++untitledCount_),
                                [this](CChildFrame& f) { return saveDocument(f, false); });
  addChild(frame);
  return frame;
}

CChildFrame* CMainFrame::openDocument(const QString& path) {
  QString absolute = QFileInfo(path).absoluteFilePath();
  for (CChildFrame* open : children()) {
    if (open->document().path() == absolute) {
      mdiArea_->setActiveSubWindow(open);
      return open;
    }
  }
  auto frame = std::make_unique<CChildFrame>(
      context_, QString(), [this](CChildFrame& f) { return saveDocument(f, false); });
  StandFileResult result = frame->document().openFrom(absolute);
  if (!result.ok()) {
    showFileMessage(result);
    return nullptr;
  }
  CChildFrame* opened = frame.release();
  opened->updateTitle();
  opened->view().resetShown();
  addChild(opened);
  recentFiles_->add(absolute);
  return opened;
}

CChildFrame* CMainFrame::recoverDocument(const RecoveryEntry& entry) {
  if (context_.recovery == nullptr) return nullptr;
  int number = entry.record.path.empty() ? entry.record.untitledNumber : 0;
  untitledCount_ = std::max(untitledCount_, number);
  auto* frame = new CChildFrame(context_, QStringLiteral("KLDVR%1").arg(number),
                                [this](CChildFrame& f) { return saveDocument(f, false); });
  StandFileResult result =
      context_.recovery->recover(entry, frame->recoveryId(), frame->controller());
  if (!result.ok()) {
    delete frame;
    showFileMessage(result);
    return nullptr;
  }
  if (number == 0) {
    frame->document().adoptRecoveredPath(
        QFile::decodeName(QByteArray::fromStdString(entry.record.path)));
  }
  frame->updateTitle();
  addChild(frame);
  return frame;
}

// Save asks before it replaces a file that holds what this document has not seen: the file of
// a recovered document, or one another program saved over. `question` names the file as %1.
static bool replaceConfirmed(QWidget* parent, const char* question, const QString& path) {
  QString text = QString::fromUtf8(question).arg(QDir::toNativeSeparators(path));
  return QMessageBox::question(parent, QStringLiteral("KELDOVAR"), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

constexpr const char* kRecoveredQuestion =
    "%1 holds a document recovered after KELDOVAR ended unexpectedly. Replace the file with it?";
constexpr const char* kChangedQuestion =
    "%1 was changed by another program since it was opened or saved here. Replace it with this "
    "document?";

bool CMainFrame::saveDocument(CChildFrame& frame, bool askName) {
  CKELDOVARDoc& document = frame.document();
  QString path = document.path();
  if (!askName && document.recovered() && !replaceConfirmed(this, kRecoveredQuestion, path)) {
    askName = true;
  }
  if (!askName && document.fileChangedElsewhere() &&
      !replaceConfirmed(this, kChangedQuestion, path)) {
    askName = true;
  }
  if (askName || path.isEmpty()) {
    QString start =
        path.isEmpty() ? QDir::current().filePath(document.title() + QStringLiteral(".kdv")) : path;
    QFileDialog dialog(this, QStringLiteral("Save As"), start, kFileFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("kdv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().constFirst();
  }
  StandFileResult result = document.saveTo(QFileInfo(path).absoluteFilePath());
  if (!result.ok()) {
    showFileMessage(result);
    return false;
  }
  recentFiles_->add(document.path());
  frame.updateTitle();
  return true;
}

void CMainFrame::showFileMessage(const StandFileResult& result) {
  QMessageBox::Icon icon =
      result.status == StandFileStatus::WrongVersion ? QMessageBox::NoIcon : QMessageBox::Warning;
  QMessageBox box(icon, QStringLiteral("KELDOVAR"), fromLatin1(result.message), QMessageBox::Ok,
                  this);
  box.exec();
}

void CMainFrame::openCommand() {
  QFileDialog dialog(this, QStringLiteral("Open"), QDir::currentPath(),
                     kFileFilter + QStringLiteral(";;All Files (*)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  QString path = dialog.selectedFiles().constFirst();
  openDocument(path);
  // The next start begins in the folder this file came from.
  QDir::setCurrent(QFileInfo(path).absolutePath());
  context_.settings.settings().setValue(kLastDirectoryKey, QDir::currentPath());
  context_.settings.settings().sync();
}

void CMainFrame::openRecentFile(int index) {
  if (index >= recentFiles_->paths().size()) return;
  QString path = recentFiles_->paths()[index];
  if (openDocument(path) == nullptr) recentFiles_->remove(path);
}

void CMainFrame::helpCommand() {
  if (!useHelpWindow_) {
    QString message = launchHelp(context_.applicationDirectory, launcher_);
    if (!message.isEmpty()) showLauncherMessage(this, message);
    return;
  }
  if (helpWindow_ == nullptr) helpWindow_ = new HelpWindow(this);
  helpWindow_->setWindowFlag(Qt::Window);
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

void CMainFrame::aboutCommand() {
  CAboutDlg about(context_.applicationDirectory, launcher_, this);
  about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  mdiArea_->closeAllSubWindows();
  for (CChildFrame* frame : children()) {
    if (frame->isVisible()) {  // the user kept this one open
      event->ignore();
      return;
    }
  }
  writePlacement();
  // Every document was saved or closed with No: the recovery copies go.
  if (context_.recovery != nullptr) context_.recovery->shutdown();
  event->accept();
}

void CMainFrame::writePlacement() {
  saveWindowState(*this, context_.settings);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) openDocument(url.toLocalFile());
  }
  event->acceptProposedAction();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    // Qt cannot ask the keyboard for its lock states; the panes follow the lock keys pressed.
    if (key == Qt::Key_CapsLock)
      capsPane_->setText(capsPane_->text().isEmpty() ? QStringLiteral("CAP") : QStringLiteral(""));
    if (key == Qt::Key_NumLock)
      numPane_->setText(numPane_->text().isEmpty() ? QStringLiteral("NUM") : QStringLiteral(""));
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace keldovar
