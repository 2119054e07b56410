// The Risk page of the Sensitivity window: the price process and the yearly loss in fields, the
// Monte Carlo distribution of NPV and LEV in a table, and its histogram.
#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

#include "desktop/money_units.h"
#include "desktop/sensitivity_charts.h"
#include "econ/risk.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace keldovar {

class RiskPage final : public QWidget {
  Q_OBJECT
 public:
  explicit RiskPage(QWidget* parent = nullptr);

  // The regime and the values the paths price; nothing clears the page. The paths run after a
  // short pause, so that typing a number does not run them for every digit.
  void setRegime(const std::optional<econ::RegimeQuantities>& regime, const FinancialValues& values,
                 econ::Management management);
  // The money the figures and the histogram are shown in; the paths stay priced per acre.
  void setMoneyStyle(const ShownUnits& shown);
  // Nothing to run: the page is emptied and says why.
  void clear(const QString& reason);
  // Runs the paths now, as the pause's end does.
  void runPaths();

  const std::optional<econ::RiskSummary>& summary() const { return summary_; }
  // What is wrong with a field, or "".
  QString fieldError() const { return fieldError_; }

 Q_SIGNALS:
  void pathsRun();

 private:
  QLineEdit* addField(QFormLayout* form, const char* label, const char* name, double value);
  // The model the fields give; nothing after `fieldError_` says why not.
  std::optional<econ::RiskModel> model();
  void showSummary();
  void showHistogram();

  QLineEdit* drift_ = nullptr;
  QLineEdit* volatility_ = nullptr;
  QLineEdit* reversion_ = nullptr;
  QLineEdit* correlation_ = nullptr;
  QLineEdit* lossProbability_ = nullptr;
  QLineEdit* salvage_ = nullptr;
  QLineEdit* paths_ = nullptr;
  QLineEdit* seed_ = nullptr;
  QComboBox* histogramOf_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* figures_ = nullptr;
  HistogramChart* histogram_ = nullptr;
  QTimer pause_;

  std::optional<econ::RegimeQuantities> regime_;
  FinancialValues values_;
  econ::Management management_ = econ::Management::Sawtimber;
  ShownUnits shown_;
  std::optional<econ::RiskSummary> summary_;
  QString fieldError_;
};

}  // namespace keldovar
