// The File commands that put a document's report on paper or into a file: Print, Print
// Preview, Page Setup, Fit to Page Width, Export PDF and Export Tables as CSV.
#pragma once

#include <QPrinter>
#include <QSettings>
#include <QString>

#include "view/qt/report_print.h"

class QWidget;

namespace keldovar {

class CChildFrame;

class ReportOutput {
 public:
  // The page setup and the fit choice of the last run are read back from `settings`.
  explicit ReportOutput(QSettings& settings);

  // Runs the command if it is one of these (Page Setup aside, which needs no document); false
  // for any other.
  bool run(int id, CChildFrame& frame, QWidget* parent);

  QPrinter& printer() { return printer_; }
  const PrintChoices& choices() const { return choices_; }

  // Page Setup: the paper and its orientation, remembered for the next run.
  void setUpPage(QWidget* parent);
  void toggleFitWidth();
  void print(CChildFrame& frame, QWidget* parent);
  void preview(CChildFrame& frame, QWidget* parent);
  // The report as printed on the page set up, written whole or not at all; false when nothing
  // was written.
  bool exportPdf(CChildFrame& frame, QWidget* parent);
  // The shown tables, or the selected rows, as the batch runner's CSV.
  bool exportCsv(CChildFrame& frame, QWidget* parent);

 private:
  void remember();
  // Writes the bytes through the safe writer; a failure is told, naming the file and why.
  bool writeFile(const QString& path, const QByteArray& bytes, QWidget* parent);

  QSettings& settings_;
  QPrinter printer_;
  PrintChoices choices_;
};

}  // namespace keldovar
