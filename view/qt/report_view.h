// What the document window asks of its report view. The plain-text stand-in and the drawn
// report both answer it, so the window does not care which one it holds.
#pragma once

class QPrinter;
class QWidget;

namespace keldovar {

class ReportView {
 public:
  virtual ~ReportView() = default;
  virtual QWidget* widget() = 0;
  // The store or the options changed: show them again; after a step, the newest table's
  // summary goes to the top of the window.
  virtual void refresh(bool scrollToNewest) = 0;
  // Reset View or a newly opened document: show from the top, with nothing selected.
  virtual void resetShown() = 0;
  virtual void selectAll() = 0;
  virtual void copy() = 0;
  virtual bool canCopy() const = 0;
  virtual void changeFontSize(int steps) = 0;
  virtual void print(QPrinter& printer) = 0;
};

}  // namespace keldovar
