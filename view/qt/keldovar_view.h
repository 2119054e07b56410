// CKELDOVARView: the document window's report, drawn, scrolled, selected and copied.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "document/document_controller.h"
#include "view/font_file.h"
#include "view/layout.h"
#include "view/qt/report_print.h"
#include "view/qt/report_view.h"
#include "view/selection.h"

namespace keldovar {

// Scrolls the report page in page units (0.01 inch): the scroll bars' values are the page
// position at the window's top-left corner.
class CKELDOVARView final : public QAbstractScrollArea, public ReportView {
  Q_OBJECT

 public:
  CKELDOVARView(const DocumentController& document, QWidget* parent = nullptr);

  // The font file ("def_Font.bin" in the folder the window chooses): read now, a missing or
  // damaged file keeping the current font, and rewritten after each font size change.
  void setFontFilePath(const QString& path);
  // The currency symbol and decimal separator the metric view writes (the locale's); "$" and
  // '.' until set.
  void setMoneyStyle(const std::string& currency, char decimalSeparator);

  QWidget* widget() override { return this; }
  void refresh(bool scrollToNewest) override;
  void resetShown() override;
  void selectAll() override;
  void copy() override;
  bool canCopy() const override;
  void changeFontSize(int steps) override;
  // The Increase or Decrease steps that give the largest font at which the widest report line
  // fits the window (Fit Width), and those back to the font a first start has (Normal Font
  // Size); 0 on an empty report.
  int fitWidthSteps() const;
  int normalSizeSteps() const;
  // Prints every page of the report (within the printer's page range) with the printer's
  // document name in the footers; the screen and its selection stay as they are.
  void print(QPrinter& printer) override;
  void print(QPrinter& printer, const PrintChoices& choices);
  // Print and Print Preview need a table.
  bool canPrint() const;
  int printPageCount(const QPrinter& printer, const PrintChoices& choices = {}) const;

  const Selection& selection() const { return selection_; }
  const ReportLayout& reportLayout() const { return layout_; }
  const FontDescription& fontDescription() const { return fontDescription_; }
  const QFont& reportFont() const { return font_; }
  // The page point at the window's top-left corner.
  QPoint scrollPosition() const;
  void scrollToOrigin();
  // The window's client area in page units.
  QSize clientPageSize() const;
  // The table a command on "this table" means: the one holding the selected cell, else the one
  // at the window's top; -1 without a table.
  int chosenTable() const;

 Q_SIGNALS:
  // The selection changed, and with it whether Copy is enabled.
  void selectionChanged();
  // The context menu was asked for over the table `table` (its store index), at `globalPos`.
  void tableMenuRequested(int table, QPoint globalPos);
  // Ctrl and the mouse wheel: make the type larger (positive) or smaller by so many steps.
  void fontStepsRequested(int steps);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void applyFont(const FontDescription& description);
  void relayout();
  void updateScrollBars();
  void scrollBy(int dx, int dy);
  void scrollToNewest();
  std::optional<CellAddress> hitAt(QPoint pixel) const;
  QPoint pagePoint(QPoint pixel) const;
  bool moveSelection(int key, Qt::KeyboardModifiers modifiers);
  // The layout's options from the document's view options and the money style.
  LayoutParams layoutParams() const;
  PrintChoices withMoneyStyle(PrintChoices choices) const;
  void selectionMoved(bool changed);

  const DocumentController& document_;
  QString fontFilePath_;
  FontDescription fontDescription_;
  QFont font_;
  ReportLayout layout_;
  std::string currency_ = "$";
  char decimalSeparator_ = '.';
  Selection selection_;
  int wheelAngle_ = 0;  // Ctrl+wheel turns not yet a whole step
};

}  // namespace keldovar
