// Printing, the page setup kept between runs, and the exports, each written whole or not at all.
#include "desktop/report_output.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <cerrno>
#include <span>

#include "app/safe_file.h"
#include "desktop/child_frame.h"
#include "desktop/units_option.h"
#include "econ/cash_flows.h"
#include "script/commands.h"
#include "view/carbon_section.h"
#include "view/qt/print_dialogs.h"
#include "view/qt/qt_text.h"
#include "view/report_csv.h"

namespace keldovar {
namespace {

constexpr const char* kOrientationKey = "Print/Orientation";
constexpr const char* kPaperKey = "Print/Paper";
constexpr const char* kFitWidthKey = "Print/FitToPageWidth";

// The name a save dialog accepted, or an empty text when it was cancelled.
QString askSaveName(QWidget* parent, const QString& caption, const QString& start,
                    const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, caption, start, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

// What Export Tables as CSV writes: the selected rows, or every shown table.
CsvPart csvPart(const CKELDOVARView& view, const TableStore& store) {
  const Selection& selection = view.selection();
  if (!selection.selectAll() && selection.hasAnchor() && selection.selTable() >= 0) {
    int last = selection.extentRow() >= 0 ? selection.extentRow() : selection.anchorRow();
    return {0, selection.selTable(), selection.anchorRow(), last};
  }
  return {store.firstShown, -1, 0, 0};
}

std::optional<HarvestCells> harvestCells(const ReportTable& table, const FinancialValues& values) {
  std::optional<econ::HarvestMeasures> m = econ::harvestMeasures(table, values);
  if (!m) return std::nullopt;
  return HarvestCells{m->pulpwood.lev, m->sawtimber.lev, m->pulpwood.irr, m->sawtimber.irr};
}

// Names the file and the reason; always false.
bool tellWriteFailure(const QString& path, int error, QWidget* parent) {
  QString text = QString("Unable to write %1: %2")
                     .arg(QDir::toNativeSeparators(path), fromLatin1(fileErrorText(error)));
  QMessageBox::warning(parent, "KELDOVAR", text);
  return false;
}

}  // namespace

ReportOutput::ReportOutput(QSettings& settings) : settings_(settings) {
  prepareDefaultPrinter(printer_);
  QPageLayout page = printer_.pageLayout();
  bool known = false;
  int paper = settings_.value(kPaperKey).toInt(&known);
  if (known && paper >= 0 && paper < QPageSize::LastPageSize) {
    page.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper)));
  }
  if (settings_.value(kOrientationKey).toInt() == 1) page.setOrientation(QPageLayout::Landscape);
  printer_.setPageLayout(page);
  choices_.fitWidth = settings_.value(kFitWidthKey).toInt() == 1;
}

bool ReportOutput::run(int id, CChildFrame& frame, QWidget* parent) {
  namespace cmd = command_ids;
  switch (id) {
    case cmd::kPrint:
      print(frame, parent);
      break;
    case cmd::kPrintPreview:
      preview(frame, parent);
      break;
    case cmd::kExportPdf:
      exportPdf(frame, parent);
      break;
    case cmd::kExportCsv:
      exportCsv(frame, parent);
      break;
    case cmd::kFitPageWidth:
      toggleFitWidth();
      break;
    default:
      return false;
  }
  return true;
}

void ReportOutput::remember() {
  bool landscape = printer_.pageLayout().orientation() == QPageLayout::Landscape;
  settings_.setValue(kOrientationKey, landscape ? 1 : 0);
  settings_.setValue(kPaperKey, static_cast<int>(printer_.pageLayout().pageSize().id()));
  settings_.setValue(kFitWidthKey, choices_.fitWidth ? 1 : 0);
  settings_.sync();
}

void ReportOutput::setUpPage(QWidget* parent) {
  if (keldovar::setUpPage(printer_, parent)) remember();
}

void ReportOutput::toggleFitWidth() {
  choices_.fitWidth = !choices_.fitWidth;
  remember();
}

void ReportOutput::print(CChildFrame& frame, QWidget* parent) {
  // An empty report prints nothing, and says nothing about it.
  if (!frame.view().canPrint()) return;
  printWithDialog(frame.view(), printer_, frame.document().reportTitle(), parent, choices_);
}

void ReportOutput::preview(CChildFrame& frame, QWidget* parent) {
  if (!frame.view().canPrint()) return;
  showPrintPreview(frame.view(), printer_, frame.document().reportTitle(), parent, choices_);
}

bool ReportOutput::writeFile(const QString& path, const QByteArray& bytes, QWidget* parent) {
  int error =
      replaceFileContents(QFile::encodeName(path).toStdString(),
                          std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())));
  return error == 0 || tellWriteFailure(path, error, parent);
}

bool ReportOutput::exportPdf(CChildFrame& frame, QWidget* parent) {
  if (!frame.view().canPrint()) return false;
  QString title = frame.document().reportTitle();
  QString path = askSaveName(parent, "Export PDF", QDir::current().filePath(title + ".pdf"),
                             "PDF Files (*.pdf)", "pdf");
  if (path.isEmpty()) return false;
  QByteArray pdf;
  const DocumentController& controller = frame.controller();
  // The printout's money style, as Print and the preview get it from the window.
  PrintChoices choices = choices_;
  ShownUnits money = localeMoney();
  choices.currency = money.currency;
  choices.decimalSeparator = money.decimalSeparator;
  if (!writeReportPdf(controller.store(), controller.options(), toLatin1(title), pdf,
                      printer_.pageLayout(), frame.view().fontDescription(),
                      carbonOptionsOf(controller.content()), choices)) {
    return tellWriteFailure(path, EIO, parent);
  }
  return writeFile(path, pdf, parent);
}

bool ReportOutput::exportCsv(CChildFrame& frame, QWidget* parent) {
  const DocumentController& controller = frame.controller();
  const TableStore& store = controller.store();
  if (store.lastIndex < 0) return false;
  QString path = askSaveName(parent, "Export Tables as CSV",
                             QDir::current().filePath(frame.document().reportTitle() + ".csv"),
                             "CSV Files (*.csv)", "csv");
  if (path.isEmpty()) return false;
  const FinancialValues& values = controller.content().settings.financial;
  std::string csv = reportCsv(
      store, [&values](const ReportTable& table) { return harvestCells(table, values); },
      csvPart(frame.view(), store), controller.options().units);
  return writeFile(path, QByteArray::fromStdString(csv), parent);
}

}  // namespace keldovar
