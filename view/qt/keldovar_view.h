// The report view of a document window: for now the report as read-only text, exactly the text
// that Select All copies.
#pragma once

#include <QPlainTextEdit>
#include <functional>

#include "view/document_controller.h"
#include "view/qt/report_view.h"

namespace keldovar {

class CKELDOVARView final : public QPlainTextEdit, public ReportView {
  Q_OBJECT
 public:
  CKELDOVARView(const DocumentController& document, QWidget* parent);

  QWidget* widget() override { return this; }
  void refresh(bool scrollToNewest) override;
  void resetShown() override;
  void selectAll() override;
  void copy() override;
  bool canCopy() const override;
  void changeFontSize(int steps) override;
  void print(QPrinter& printer) override;

  bool selectAllActive() const { return selectAll_; }

 signals:
  // Copy may have become possible or impossible.
  void selectionChanged();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString reportText() const;
  void scrollToNewestTable();

  const DocumentController& document_;
  bool selectAll_ = false;
};

}  // namespace keldovar
