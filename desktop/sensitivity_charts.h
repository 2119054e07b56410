// The Sensitivity window's three charts, painted with QPainter: NPV and LEV against the interest
// rate, the tornado of the financial values, and the histogram of the Monte Carlo paths.
#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "econ/risk.h"

namespace keldovar {

// NPV and LEV (dollars an acre) against the rate (percent), the zero line, the rate in use and
// the internal rate of return where the NPV crosses zero.
class RateCurveChart final : public QWidget {
  Q_OBJECT
 public:
  explicit RateCurveChart(QWidget* parent = nullptr);
  // LEV points may be fewer than NPV points: none at a zero rate.
  void setCurve(std::vector<QPointF> npv, std::vector<QPointF> lev, double currentRate,
                std::optional<double> irrPercent);
  // The money unit the values are in: "$/ac", or "R$/ha" under Metric Units.
  void setMoneyUnit(const QString& unit);
  const std::vector<QPointF>& npvPoints() const { return npv_; }
  QSize sizeHint() const override { return {460, 260}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QPointF> npv_;
  std::vector<QPointF> lev_;
  double currentRate_ = 0;
  std::optional<double> irr_;
  QString moneyUnit_ = QStringLiteral("$/ac");
};

struct TornadoRow {
  QString label;
  QString lowText;  // the value moved down, and up, as shown beside its bar
  QString highText;
  double atLow = 0;  // the NPV with the value moved down, and up
  double atHigh = 0;
};

// One row a value, largest effect at the top: a bar from the base NPV to the NPV with the value
// lowered, and one to the NPV with it raised.
class TornadoChart final : public QWidget {
  Q_OBJECT
 public:
  explicit TornadoChart(QWidget* parent = nullptr);
  void setRows(std::vector<TornadoRow> rows, double base, const QString& title);
  void setMoneyUnit(const QString& unit);
  const std::vector<TornadoRow>& rows() const { return rows_; }
  QSize sizeHint() const override { return {460, 280}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<TornadoRow> rows_;
  double base_ = 0;
  QString moneyUnit_ = QStringLiteral("$/ac");
  QString title_;
};

// The paths' values in bins, with the zero line and marked values (P5, P50, P95).
class HistogramChart final : public QWidget {
  Q_OBJECT
 public:
  struct Marker {
    QString name;
    double value = 0;
  };
  explicit HistogramChart(QWidget* parent = nullptr);
  void setHistogram(econ::Histogram histogram, std::vector<Marker> markers, const QString& title,
                    const QString& axisName);
  const econ::Histogram& histogram() const { return histogram_; }
  QSize sizeHint() const override { return {460, 260}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  econ::Histogram histogram_;
  std::vector<Marker> markers_;
  QString title_;
  QString axisName_;
};

}  // namespace keldovar
