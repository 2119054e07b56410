// Stand > Sensitivity and Risk: a window over one document's harvested regime. The financial
// values and the ranges are fields; the rate curve, the tornado, the break-evens and, on the Risk
// page, the Monte Carlo distribution follow every change.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>

#include "desktop/child_frame.h"
#include "desktop/money_units.h"
#include "desktop/risk_page.h"
#include "desktop/sensitivity_charts.h"
#include "econ/sensitivity.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace keldovar {

class SensitivityWindow final : public QWidget {
  Q_OBJECT
 public:
  // Shows the window of `frame`'s document, made the first time; `owner` keeps it.
  static SensitivityWindow* showFor(CChildFrame& frame, QWidget* owner);

  SensitivityWindow(CChildFrame& frame, QWidget* owner);

  CChildFrame* frame() const { return frame_; }
  const std::optional<econ::Sensitivity>& sensitivity() const { return sensitivity_; }
  RiskPage& riskPage() { return *riskPage_; }
  // Why nothing is shown (no harvest, a field refused), or "".
  QString status() const;

 private:
  QWidget* buildFields();
  QWidget* buildSensitivityPage();
  // The document's newest harvest, read again after each of its changes.
  void reloadRegime();
  // Metric Units switched: the typed values are carried over into the other units, and the
  // labels and figures follow.
  void followUnits();
  void showUnitLabels();
  void recompute();
  // The values and options the fields give; nothing after `status_` says why not.
  std::optional<FinancialValues> financialValues();
  std::optional<econ::SensitivityOptions> options();
  void showSensitivity(const FinancialValues& values, econ::Management management);
  void showFigures();
  void clearCharts();

  QPointer<CChildFrame> frame_;
  std::array<QLineEdit*, kFinancialValueCount> values_{};
  std::array<QLabel*, kFinancialValueCount> valueLabels_{};
  QLineEdit* ratesFrom_ = nullptr;
  QLineEdit* ratesTo_ = nullptr;
  QLineEdit* ratesStep_ = nullptr;
  QLineEdit* swing_ = nullptr;
  QComboBox* management_ = nullptr;
  QLabel* status_ = nullptr;
  // NPV, LEV, IRR and the three break-evens, by management.
  std::array<std::array<QLabel*, 2>, 6> figures_{};
  RateCurveChart* curve_ = nullptr;
  TornadoChart* tornado_ = nullptr;
  QTabWidget* pages_ = nullptr;
  RiskPage* riskPage_ = nullptr;

  ShownUnits shown_;  // the document's unit system and, in metric, the locale's money
  std::optional<econ::RegimeQuantities> regime_;
  std::optional<econ::Sensitivity> sensitivity_;
};

}  // namespace keldovar
