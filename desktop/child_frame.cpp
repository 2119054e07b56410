// Document windows: the report view follows the controller's changes, and the window asks
// before a modified document is closed or reset.
#include "desktop/child_frame.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMessageBox>

#include "desktop/keldovar_app.h"
#include "desktop/recovery_manager.h"
#include "desktop/units_option.h"
#include "view/qt/keldovar_view.h"
#include "view/qt/qt_text.h"

namespace keldovar {

CChildFrame::CChildFrame(AppContext& context, const QString& untitledName, Saver saver,
                         QWidget* parent)
    : QMdiSubWindow(parent), saver_(std::move(saver)), recovery_(context.recovery) {
  setAttribute(Qt::WA_DeleteOnClose);
  // The window menu's Close also claims Ctrl+W on some platforms, which is New Plantation here:
  // two owners of one key make it do nothing. Close keeps Ctrl+F4.
  if (QMenu* menu = systemMenu()) {
    for (QAction* action : menu->actions()) {
      QList<QKeySequence> keys = action->shortcuts();
      if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W)) > 0) action->setShortcuts(keys);
    }
  }
  if (recovery_ != nullptr) recoveryId_ = recovery_->newDocumentId();
  prompts_ = context.makePrompts(this);
  document_ =
      std::make_unique<CKELDOVARDoc>(context.session, *prompts_, context.settings, untitledName);
  auto* view = new CKELDOVARView(document_->controller(), this);
  view->setFontFilePath(fontFileLocation(context.applicationDirectory));
  // The document read Metric Units from the settings; the metric view writes the locale's money.
  ShownUnits money = localeMoney();
  view->setMoneyStyle(money.currency, money.decimalSeparator);
  view_ = view;
  setWidget(view);
  // Whatever gives this window the keyboard (the MDI area does on activation) gives it to the
  // report, so that its scrolling keys work until something else is clicked.
  setFocusProxy(view);
  connect(view, &CKELDOVARView::selectionChanged, this, &CChildFrame::stateChanged);
  controller().setListener(this);
  updateTitle();
}

CChildFrame::~CChildFrame() {
  // Closing asked the user already; a window torn down without that keeps its copy.
  if (recovery_ != nullptr) recovery_->documentDetached(recoveryId_);
  controller().setListener(nullptr);
}

void CChildFrame::tellRecovery() {
  if (recovery_ == nullptr) return;
  recovery_->documentChanged(recoveryId_, {document_->path(), document_->untitledNumber()},
                             controller());
}

void CChildFrame::contentChanged() {
  tellRecovery();
}

void CChildFrame::updateTitle() {
  setWindowTitle(document_->title() + "[*]");
  setWindowModified(controller().modified());
  Q_EMIT stateChanged();
}

bool CChildFrame::resetView() {
  return controller().resetView(*this, toLatin1(document_->title()));
}

void CChildFrame::tableStored(bool scrollToNewest) {
  view_->refresh(scrollToNewest);
  Q_EMIT stateChanged();
}

void CChildFrame::viewChanged(ViewScroll scroll) {
  view_->refresh(scroll == ViewScroll::Newest);
  if (scroll == ViewScroll::Origin) view_->scrollToOrigin();
  Q_EMIT stateChanged();
}

void CChildFrame::documentReset() {
  view_->resetShown();
  Q_EMIT stateChanged();
  tellRecovery();
}

void CChildFrame::modifiedChanged(bool modified) {
  setWindowModified(modified);
  Q_EMIT stateChanged();
  // A change is written from contentChanged, once the step is complete; here only Save.
  if (!modified) tellRecovery();
}

DocumentHost::Answer CChildFrame::askSaveBeforeReset(const std::string& question) {
  auto answer = QMessageBox::question(this, "KELDOVAR", fromLatin1(question),
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) return Answer::Yes;
  return answer == QMessageBox::No ? Answer::No : Answer::Cancel;
}

void CChildFrame::save() {
  saver_(*this);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (controller().modified()) {
    QString question = QString("Save changes to %1?").arg(document_->title());
    auto answer = QMessageBox::question(this, "KELDOVAR", question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !saver_(*this))) {
      event->ignore();
      return;
    }
  }
  if (recovery_ != nullptr) recovery_->documentClosed(recoveryId_);
  QMdiSubWindow::closeEvent(event);
}

}  // namespace keldovar
