// The main window: menus, toolbar and status bar, the document windows, and the commands that
// open, save and close documents.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <memory>
#include <string>

#include "desktop/app_context.h"
#include "desktop/child_frame.h"
#include "desktop/command_actions.h"
#include "desktop/help_launcher.h"
#include "desktop/help_window.h"
#include "desktop/recent_files.h"
#include "desktop/recovery_manager.h"
#include "desktop/report_output.h"
#include "script/document_commands.h"

namespace keldovar {

class CMainFrame final : public QMainWindow {
  Q_OBJECT
 public:
  // `helpWindow`: Help Topics opens the program's own help window instead of the CHM file.
  CMainFrame(AppContext& context, Launcher launcher, bool helpWindow);
  ~CMainFrame() override;

  // Runs a command as its menu entry, key or button does.
  void runCommand(int id);
  QAction* action(int id) const { return actions_->action(id); }

  CChildFrame* newDocument();
  // A document window holding a recovery copy, titled as the document it was made from;
  // nullptr and a message when the copy cannot be read.
  CChildFrame* recoverDocument(const RecoveryEntry& entry);
  // Opens the file in a new window, or activates the window that has it already; nullptr and
  // a message when it cannot be read.
  CChildFrame* openDocument(const QString& path);
  // Save (or Save As when the document has no file yet, or `askName`); false when it failed or
  // was cancelled, in which case the document stays modified and the old file intact.
  bool saveDocument(CChildFrame& frame, bool askName);

  CChildFrame* activeChild() const;
  QList<CChildFrame*> children() const;
  QMdiArea& mdiArea() { return *mdiArea_; }
  ReportOutput& output() { return *output_; }
  // The help window, once Help Topics has opened it.
  HelpWindow* helpWindow() const { return helpWindow_; }
  // The status bar's message pane text (a step or command refused).
  void showStepRefusal(const std::string& reason);
  // Enables the commands and sets the check marks, the caption and the "Modified" pane.
  void updateCommandStates();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildStatusBar();
  void addChild(CChildFrame* frame);
  bool runDocumentCommand(int id, CChildFrame& frame);
  // A command of the document commands' table; false when `id` is none of them.
  bool runStepCommand(int id, CChildFrame& frame);
  void runFileCommand(int id);
  void openCommand();
  void openRecentFile(int index);
  // The Window menu's list, and the caption naming the active document once.
  void showWindows(CChildFrame* active);
  // Stand > Find Best Regime: the chosen regime opens as a new, unsaved document.
  void findRegime(const DocumentSettings& settings, const CarbonValues& carbon);
  // A document made elsewhere (a regime found, a stand of a forest) as a new, unsaved one.
  CChildFrame* openContent(DocumentContent content);
  void helpCommand();
  void aboutCommand();
  void writePlacement();
  void showFileMessage(const StandFileResult& result);

  AppContext& context_;
  Launcher launcher_;
  bool useHelpWindow_ = true;
  QPointer<HelpWindow> helpWindow_;
  QMdiArea* mdiArea_ = nullptr;
  std::unique_ptr<CommandActions> actions_;
  std::unique_ptr<RecentFiles> recentFiles_;
  QLabel* capsPane_ = nullptr;
  QLabel* numPane_ = nullptr;
  QLabel* modifiedPane_ = nullptr;
  std::unique_ptr<ReportOutput> output_;
  int untitledCount_ = 0;
  // The engine is shared by every document: while one step waits for its dialog, no other
  // command may start.
  bool stepRunning_ = false;
};

}  // namespace keldovar
