// The Compare Regimes window: the open documents to tick, the comparison table and the charts;
// the figures are econ's comparison rows, the charts view/line_chart's, as keldovar-cli's are.
#include "desktop/compare_window.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <span>

#include "app/safe_file.h"
#include "desktop/branch_command.h"
#include "desktop/main_frame.h"
#include "econ/comparison_charts.h"
#include "econ/metric_comparison.h"
#include "view/qt/comparison_pdf.h"
#include "view/qt/line_chart_painter.h"
#include "view/qt/qt_text.h"
#include "view/qt/report_print.h"

namespace keldovar {

RegimeCharts::RegimeCharts(QWidget* parent) : QWidget(parent) {
  setObjectName("regimeCharts");
  setMinimumHeight(480);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void RegimeCharts::setRegimes(const std::vector<econ::ComparedRegime>& regimes, UnitSystem units) {
  charts_ = econ::comparisonCharts(regimes, units);
  update();
}

void RegimeCharts::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFontMetricsF metrics(font());
  ChartBox area{0,
                0,
                double(width()),
                double(height()),
                metrics.height(),
                metrics.horizontalAdvance("-00000")};
  for (const LineChartDrawing& d : stackLineCharts(charts_, area, chartTextWidth(metrics))) {
    paintLineChart(painter, d);
  }
}

CompareWindow* CompareWindow::showFor(CMainFrame& main, const QList<CChildFrame*>& only) {
  CompareWindow* window = main.findChild<CompareWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (window == nullptr) window = new CompareWindow(main);
  window->reloadDocuments(only);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

CompareWindow::CompareWindow(CMainFrame& main) : QWidget(&main, Qt::Window), main_(&main) {
  setObjectName("CompareWindow");
  setWindowTitle("Compare Regimes");
  setAttribute(Qt::WA_DeleteOnClose);
  documents_ = new QListWidget;
  documents_->setObjectName("documents");
  documents_->setMaximumHeight(110);
  table_ = new QTableWidget;
  table_->setObjectName("comparisonTable");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  charts_ = new RegimeCharts;
  auto* pdf = new QPushButton("Export &PDF...");
  pdf->setObjectName("exportPdf");
  auto* csv = new QPushButton("Export &CSV...");
  csv->setObjectName("exportCsv");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pdf);
  buttons->addWidget(csv);
  buttons->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(documents_);
  left->addWidget(table_, 1);
  left->addLayout(buttons);
  auto* leftSide = new QWidget;
  leftSide->setLayout(left);
  auto* splitter = new QSplitter;
  splitter->addWidget(leftSide);
  splitter->addWidget(charts_);
  splitter->setSizes({860, 520});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  connect(documents_, &QListWidget::itemChanged, this, &CompareWindow::recompare);
  connect(pdf, &QPushButton::clicked, this, [this] { askAndExport(true); });
  connect(csv, &QPushButton::clicked, this, [this] { askAndExport(false); });
  // Room for the table and the charts side by side, but never wider or taller than the screen.
  QSize wanted(1440, 860);
  if (const QScreen* display = screen()) {
    wanted = wanted.boundedTo(display->availableGeometry().size() * 0.9);
  }
  resize(wanted);
}

void CompareWindow::reloadDocuments(const QList<CChildFrame*>& only) {
  QStringList unticked;
  for (int i = 0; i < documents_->count(); ++i) {
    if (documents_->item(i)->checkState() == Qt::Unchecked) unticked << documents_->item(i)->text();
  }
  QSignalBlocker quiet(documents_);
  documents_->clear();
  for (CChildFrame* frame : main_->children()) {
    if (!econ::summarizeRegime(frame->controller().content())) continue;
    // A document that changes or closes is compared again; the item never outlives its frame
    // unread (recompare looks each one up among the open documents).
    connect(frame, &CChildFrame::stateChanged, this, &CompareWindow::recompare,
            Qt::UniqueConnection);
    connect(frame, &QObject::destroyed, this, &CompareWindow::documentClosed, Qt::UniqueConnection);
    auto* item = new QListWidgetItem(fromLatin1(documentName(*frame)), documents_);
    item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(frame)));
    bool ticked = only.isEmpty() ? !unticked.contains(item->text()) : only.contains(frame);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
  recompare();
}

void CompareWindow::documentClosed() {
  // The frame is still being taken down: read the documents once it has gone.
  QTimer::singleShot(0, this, [this] { reloadDocuments(); });
}

void CompareWindow::recompare() {
  regimes_.clear();
  QList<CChildFrame*> open = main_->children();
  // Metric Units switches every document at once: any open one tells.
  units_ = open.isEmpty() ? UnitSystem::Imperial : open.front()->controller().options().units;
  for (int i = 0; i < documents_->count(); ++i) {
    QListWidgetItem* item = documents_->item(i);
    auto* frame = static_cast<CChildFrame*>(item->data(Qt::UserRole).value<void*>());
    if (!open.contains(frame) || item->checkState() != Qt::Checked) continue;
    std::optional<econ::RegimeSummary> s = econ::summarizeRegime(frame->controller().content());
    if (s) regimes_.push_back({toLatin1(item->text()), econ::shownSummary(units_, *s)});
  }
  std::vector<econ::ComparisonRow> rows = econ::comparisonRows(regimes_, units_);
  table_->clear();
  table_->setColumnCount(static_cast<int>(regimes_.size()));
  table_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t c = 0; c < regimes_.size(); ++c) {
    table_->setHorizontalHeaderItem(int(c), new QTableWidgetItem(fromLatin1(regimes_[c].name)));
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    table_->setVerticalHeaderItem(int(r), new QTableWidgetItem(fromLatin1(rows[r].label)));
    for (std::size_t c = 0; c < regimes_.size(); ++c) {
      bool best = rows[r].best[c];
      auto* cell = new QTableWidgetItem(fromLatin1(rows[r].cells[c] + (best ? " *" : "")));
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (best) {
        QFont bold = cell->font();
        bold.setBold(true);
        cell->setFont(bold);
        cell->setBackground(QColor(214, 239, 214));
      }
      table_->setItem(int(r), int(c), cell);
    }
  }
  table_->resizeColumnsToContents();
  charts_->setRegimes(regimes_, units_);
}

void CompareWindow::askAndExport(bool pdf) {
  QString suffix = pdf ? "pdf" : "csv";
  QFileDialog dialog(this, pdf ? "Export PDF" : "Export CSV",
                     QDir::current().filePath("regimes." + suffix),
                     pdf ? "PDF Files (*.pdf)" : "CSV Files (*.csv)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  QString path = dialog.selectedFiles().constFirst();
  pdf ? exportPdf(path) : exportCsv(path);
}

bool CompareWindow::writeFile(const QString& path, const QByteArray& bytes) {
  int error = replaceFileContents(
      path.toStdString(), std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())));
  if (error == 0) return true;
  QMessageBox::warning(this, "KELDOVAR",
                       QString("Unable to write %1: %2")
                           .arg(QDir::toNativeSeparators(path), fromLatin1(fileErrorText(error))));
  return false;
}

bool CompareWindow::exportCsv(const QString& path) {
  return writeFile(path, QByteArray::fromStdString(econ::comparisonCsv(regimes_, units_)));
}

bool CompareWindow::exportPdf(const QString& path) {
  auto parts = [this](std::size_t width) {
    return econ::comparisonTextParts(regimes_, width, units_);
  };
  return writeFile(path, comparisonPdf(parts, econ::comparisonCharts(regimes_, units_),
                                       windowTitle(), defaultPaper()));
}

}  // namespace keldovar
