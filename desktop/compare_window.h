// Stand > Compare Regimes: the harvested regimes of the open documents side by side, a table
// with the best of each row marked and charts against age, exported to PDF and CSV.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <vector>

#include "econ/comparison_table.h"
#include "view/line_chart.h"

class QListWidget;
class QTableWidget;

namespace keldovar {

class CMainFrame;
class CChildFrame;

// Standing basal area, standing tons by product and the running present value of the regimes,
// one under the other.
class RegimeCharts final : public QWidget {
  Q_OBJECT
 public:
  explicit RegimeCharts(QWidget* parent = nullptr);
  void setRegimes(const std::vector<econ::ComparedRegime>& regimes, UnitSystem units);
  QSize sizeHint() const override { return {560, 720}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<LineChartSpec> charts_;
};

class CompareWindow final : public QWidget {
  Q_OBJECT
 public:
  // Shows the main window's comparison, made the first time, with every open document that
  // holds a harvest ticked, or only those of `only` when it names any.
  static CompareWindow* showFor(CMainFrame& main, const QList<CChildFrame*>& only);

  explicit CompareWindow(CMainFrame& main);

  // The regimes ticked, as compared.
  const std::vector<econ::ComparedRegime>& regimes() const { return regimes_; }
  // Fills the list from the open documents, keeping the ticks of those still there.
  void reloadDocuments(const QList<CChildFrame*>& only = {});
  // Write the table and the charts; false after a message when the file cannot be written.
  bool exportPdf(const QString& path);
  bool exportCsv(const QString& path);

 private Q_SLOTS:
  void recompare();
  void documentClosed();

 private:
  void askAndExport(bool pdf);
  bool writeFile(const QString& path, const QByteArray& bytes);

  CMainFrame* main_;
  QListWidget* documents_ = nullptr;
  QTableWidget* table_ = nullptr;
  RegimeCharts* charts_ = nullptr;
  std::vector<econ::ComparedRegime> regimes_;  // as the units show them
  UnitSystem units_ = UnitSystem::Imperial;    // Metric Units, as the documents show it
};

}  // namespace keldovar
