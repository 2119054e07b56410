// A document window: one document and its report view, opened maximized in the main window.
#pragma once

#include <QMdiSubWindow>
#include <functional>
#include <memory>

#include "desktop/app_context.h"
#include "desktop/keldovar_doc.h"
#include "view/qt/keldovar_view.h"

namespace keldovar {

class CChildFrame final : public QMdiSubWindow, private DocumentListener, private DocumentHost {
  Q_OBJECT
 public:
  // The main window's Save command, run when Reset View or closing asks to save: true when the
  // document was saved.
  using Saver = std::function<bool(CChildFrame&)>;

  CChildFrame(AppContext& context, const QString& untitledName, Saver saver,
              QWidget* parent = nullptr);
  ~CChildFrame() override;

  CKELDOVARDoc& document() { return *document_; }
  DocumentController& controller() { return document_->controller(); }
  CKELDOVARView& view() { return *view_; }
  // Reset View, asking this window's questions.
  bool resetView();
  // Who asks this window's questions about its document.
  DocumentHost& host() { return *this; }
  // The title changed (a save under a new name, an open): show it again.
  void updateTitle();
  // This window's number with the recovery copies.
  int recoveryId() const { return recoveryId_; }

 Q_SIGNALS:
  // The document's state changed in a way that may change what the commands allow.
  void stateChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // DocumentListener
  void tableStored(bool scrollToNewest) override;
  void viewChanged(ViewScroll scroll) override;
  void documentReset() override;
  void modifiedChanged(bool modified) override;
  void contentChanged() override;
  // Keeps the recovery copy in step with the document: written while it has unsaved changes,
  // removed once it has none.
  void tellRecovery();
  // DocumentHost
  Answer askSaveBeforeReset(const std::string& question) override;
  void save() override;

  Saver saver_;
  RecoveryManager* recovery_ = nullptr;
  int recoveryId_ = 0;
  std::unique_ptr<Prompts> prompts_;
  std::unique_ptr<CKELDOVARDoc> document_;
  CKELDOVARView* view_ = nullptr;
};

}  // namespace keldovar
