// The Sensitivity window's charts. Each paints its frame, round-numbered axes and light grid,
// then its own marks; the colours keep apart what is compared (NPV and LEV, lowered and raised).
#include "desktop/sensitivity_charts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "engine/report_text.h"
#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

const QColor kNpvColour(31, 94, 168);
const QColor kLevColour(46, 125, 50);
const QColor kLoweredColour(70, 130, 180);
const QColor kRaisedColour(222, 126, 36);
const QColor kGridColour(222, 222, 222);
const QColor kZeroColour(190, 40, 40);

// A value range widened to whole steps of 1, 2 or 5 times a power of ten, mapped onto pixels.
struct Axis {
  double low = 0;
  double high = 1;
  double step = 1;
  double from = 0;  // the pixels of `low` and `high`
  double to = 1;

  double at(double value) const { return from + (value - low) / (high - low) * (to - from); }
};

Axis roundAxis(double low, double high, int ticks, double from, double to) {
  if (!(high > low)) {
    low -= 1;
    high += 1;
  }
  double raw = (high - low) / ticks;
  double power = std::pow(10.0, std::floor(std::log10(raw)));
  double ratio = raw / power;
  double step = power * (ratio <= 1 ? 1 : ratio <= 2 ? 2 : ratio <= 5 ? 5 : 10);
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step, from, to};
}

QString tickText(double value, double step) {
  int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  if (std::abs(value) < step * 1e-6) value = 0;  // no "-0"
  return fromLatin1(formatText("%.*f", decimals, value));
}

// The plot's rectangle: a title line and a legend line above, tick labels and an axis name
// below, and the widest vertical label at the left.
QRectF plotArea(const QWidget& widget, int leftLabels) {
  QFontMetrics metrics(widget.font());
  double top = 2.5 * metrics.height();
  double left = leftLabels + 10;
  return {left, top, widget.width() - left - 14, widget.height() - top - 2.4 * metrics.height()};
}

void drawTitle(QPainter& painter, const QWidget& widget, const QString& title) {
  QFontMetrics metrics(widget.font());
  painter.setPen(widget.palette().text().color());
  painter.drawText(QRectF(0, 2, widget.width(), metrics.height()), Qt::AlignCenter, title);
}

void drawVerticalAxis(QPainter& painter, const QRectF& area, const Axis& axis,
                      const QFontMetrics& metrics, const QColor& text) {
  for (double v = axis.low; v <= axis.high + axis.step * 1e-6; v += axis.step) {
    double y = axis.at(v);
    painter.setPen(kGridColour);
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.setPen(text);
    painter.drawText(QRectF(0, y - metrics.height() / 2.0, area.left() - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, tickText(v, axis.step));
  }
}

void drawHorizontalAxis(QPainter& painter, const QRectF& area, const Axis& axis,
                        const QFontMetrics& metrics, const QColor& text, const QString& name) {
  for (double v = axis.low; v <= axis.high + axis.step * 1e-6; v += axis.step) {
    double x = axis.at(v);
    painter.setPen(kGridColour);
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    painter.setPen(text);
    painter.drawText(QRectF(x - 40, area.bottom() + 2, 80, metrics.height()), Qt::AlignCenter,
                     tickText(v, axis.step));
  }
  painter.drawText(
      QRectF(area.left(), area.bottom() + 2 + metrics.height(), area.width(), metrics.height()),
      Qt::AlignCenter, name);
}

void drawLegend(QPainter& painter, const QRectF& area, const QFontMetrics& metrics,
                const std::vector<std::pair<QColor, QString>>& entries) {
  double x = area.left();
  double y = area.top() - 1.25 * metrics.height();
  for (const auto& [colour, name] : entries) {
    painter.fillRect(QRectF(x, y + 3, 14, metrics.height() - 6), colour);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 18, y + metrics.ascent()), name);
    x += 30 + metrics.horizontalAdvance(name);
  }
}

void drawPolyline(QPainter& painter, const std::vector<QPointF>& points, const Axis& x,
                  const Axis& y, const QPen& pen) {
  if (points.size() < 2) return;
  QPainterPath path(QPointF(x.at(points[0].x()), y.at(points[0].y())));
  for (std::size_t i = 1; i < points.size(); ++i) {
    path.lineTo(x.at(points[i].x()), y.at(points[i].y()));
  }
  painter.strokePath(path, pen);
}

}  // namespace

RateCurveChart::RateCurveChart(QWidget* parent) : QWidget(parent) {
  setObjectName("rateCurve");
  setMinimumSize(300, 200);
}

void RateCurveChart::setCurve(std::vector<QPointF> npv, std::vector<QPointF> lev,
                              double currentRate, std::optional<double> irrPercent) {
  npv_ = std::move(npv);
  lev_ = std::move(lev);
  currentRate_ = currentRate;
  irr_ = irrPercent;
  update();
}

void RateCurveChart::setMoneyUnit(const QString& unit) {
  moneyUnit_ = unit;
  update();
}

void RateCurveChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  drawTitle(painter, *this, QStringLiteral("NPV and LEV (%1) by interest rate").arg(moneyUnit_));
  if (npv_.empty()) return;
  QFontMetrics metrics(font());
  double low = 0, high = 0;
  for (const auto* series : {&npv_, &lev_}) {
    for (QPointF p : *series) {
      low = std::min(low, p.y());
      high = std::max(high, p.y());
    }
  }
  Axis probe = roundAxis(low, high, 5, 0, 1);
  int labels = std::max(metrics.horizontalAdvance(tickText(probe.low, probe.step)),
                        metrics.horizontalAdvance(tickText(probe.high, probe.step)));
  QRectF area = plotArea(*this, labels);
  if (area.width() < 20 || area.height() < 20) return;
  Axis y = roundAxis(low, high, 5, area.bottom(), area.top());
  Axis x = roundAxis(npv_.front().x(), npv_.back().x(), 8, area.left(), area.right());
  QColor text = palette().text().color();
  drawVerticalAxis(painter, area, y, metrics, text);
  drawHorizontalAxis(painter, area, x, metrics, text, QStringLiteral("Interest rate (%)"));
  painter.setPen(QPen(kZeroColour, 1));
  painter.drawLine(QPointF(area.left(), y.at(0)), QPointF(area.right(), y.at(0)));
  painter.setPen(QPen(text, 1, Qt::DotLine));
  painter.drawLine(QPointF(x.at(currentRate_), area.top()),
                   QPointF(x.at(currentRate_), area.bottom()));
  painter.setRenderHint(QPainter::Antialiasing);
  drawPolyline(painter, lev_, x, y, QPen(kLevColour, 2, Qt::DashLine));
  drawPolyline(painter, npv_, x, y, QPen(kNpvColour, 2));
  std::vector<std::pair<QColor, QString>> legend = {{kNpvColour, QStringLiteral("NPV")},
                                                    {kLevColour, QStringLiteral("LEV")}};
  if (irr_ && *irr_ >= x.low && *irr_ <= x.high) {
    QPointF mark(x.at(*irr_), y.at(0));
    painter.setBrush(kZeroColour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(mark, 4, 4);
    painter.setPen(text);
    painter.drawText(mark + QPointF(6, -6), fromLatin1(formatText("IRR %.2f %%", *irr_)));
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  drawLegend(painter, area, metrics, legend);
  painter.setPen(text);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
}

TornadoChart::TornadoChart(QWidget* parent) : QWidget(parent) {
  setObjectName("tornado");
  setMinimumSize(300, 220);
}

void TornadoChart::setRows(std::vector<TornadoRow> rows, double base, const QString& title) {
  rows_ = std::move(rows);
  base_ = base;
  title_ = title;
  update();
}

void TornadoChart::setMoneyUnit(const QString& unit) {
  moneyUnit_ = unit;
  update();
}

void TornadoChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  drawTitle(painter, *this, title_);
  if (rows_.empty()) return;
  QFontMetrics metrics(font());
  int labels = 0;
  double low = base_, high = base_;
  for (const TornadoRow& row : rows_) {
    labels = std::max(labels, metrics.horizontalAdvance(row.label));
    low = std::min({low, row.atLow, row.atHigh});
    high = std::max({high, row.atLow, row.atHigh});
  }
  QRectF area = plotArea(*this, labels);
  if (area.width() < 20 || area.height() < 20) return;
  // Room at either end for the moved values written beside the bars.
  double margin = metrics.horizontalAdvance(QStringLiteral("0000.00")) + 8;
  Axis x = roundAxis(low, high, 6, area.left() + margin, area.right() - margin);
  QColor text = palette().text().color();
  drawHorizontalAxis(painter, area, x, metrics, text, QStringLiteral("NPV (%1)").arg(moneyUnit_));
  drawLegend(painter, area, metrics,
             {{kLoweredColour, QStringLiteral("value lowered")},
              {kRaisedColour, QStringLiteral("raised")}});
  double rowHeight = area.height() / static_cast<double>(rows_.size());
  double bar = std::min(rowHeight * 0.7, 2.0 * metrics.height());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const TornadoRow& row = rows_[i];
    double middle = area.top() + (static_cast<double>(i) + 0.5) * rowHeight;
    painter.setPen(text);
    painter.drawText(QRectF(0, middle - rowHeight / 2, area.left() - 6, rowHeight),
                     Qt::AlignRight | Qt::AlignVCenter, row.label);
    for (auto [value, colour, shown, lowered] :
         {std::tuple{row.atLow, kLoweredColour, row.lowText, true},
          std::tuple{row.atHigh, kRaisedColour, row.highText, false}}) {
      QRectF box(QPointF(x.at(std::min(base_, value)), middle - bar / 2),
                 QPointF(x.at(std::max(base_, value)), middle + bar / 2));
      painter.fillRect(box, colour);
      // A value that moves nothing still shows both texts, the lowered one on the left.
      bool left = value < base_ || (value == base_ && lowered);
      QRectF label(left ? box.left() - margin : box.right() + 4, middle - rowHeight / 2, margin - 4,
                   rowHeight);
      painter.setPen(text);
      painter.drawText(label, (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, shown);
    }
  }
  painter.setPen(QPen(text, 1));
  painter.drawLine(QPointF(x.at(base_), area.top()), QPointF(x.at(base_), area.bottom()));
  painter.drawRect(area);
}

HistogramChart::HistogramChart(QWidget* parent) : QWidget(parent) {
  setObjectName("histogram");
  setMinimumSize(300, 200);
}

void HistogramChart::setHistogram(econ::Histogram histogram, std::vector<Marker> markers,
                                  const QString& title, const QString& axisName) {
  histogram_ = std::move(histogram);
  markers_ = std::move(markers);
  title_ = title;
  axisName_ = axisName;
  update();
}

void HistogramChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  drawTitle(painter, *this, title_);
  if (histogram_.counts.empty()) return;
  QFontMetrics metrics(font());
  std::int64_t most = *std::max_element(histogram_.counts.begin(), histogram_.counts.end());
  std::int64_t total = 0;
  for (std::int64_t c : histogram_.counts) total += c;
  double highShare =
      100.0 * static_cast<double>(most) / static_cast<double>(std::max<std::int64_t>(total, 1));
  QRectF area = plotArea(*this, metrics.horizontalAdvance(QStringLiteral("100.0")));
  if (area.width() < 20 || area.height() < 20) return;
  auto bins = static_cast<double>(histogram_.counts.size());
  double end = histogram_.low + histogram_.width * bins;
  Axis y = roundAxis(0, highShare, 4, area.bottom(), area.top());
  Axis x = roundAxis(histogram_.low, end, 6, area.left(), area.right());
  QColor text = palette().text().color();
  drawVerticalAxis(painter, area, y, metrics, text);
  drawHorizontalAxis(painter, area, x, metrics, text, axisName_);
  for (std::size_t i = 0; i < histogram_.counts.size(); ++i) {
    double from = histogram_.low + histogram_.width * static_cast<double>(i);
    double share = 100.0 * static_cast<double>(histogram_.counts[i]) / static_cast<double>(total);
    QRectF box(QPointF(x.at(from), y.at(share)), QPointF(x.at(from + histogram_.width), y.at(0)));
    painter.fillRect(box.adjusted(0.5, 0, -0.5, 0), kNpvColour);
  }
  if (0 > x.low && 0 < x.high) {
    painter.setPen(QPen(kZeroColour, 1, Qt::DashLine));
    painter.drawLine(QPointF(x.at(0), area.top()), QPointF(x.at(0), area.bottom()));
  }
  for (std::size_t i = 0; i < markers_.size(); ++i) {
    double at = x.at(markers_[i].value);
    painter.setPen(QPen(kRaisedColour, 1.5));
    painter.drawLine(QPointF(at, area.top()), QPointF(at, area.bottom()));
    painter.setPen(text);
    double row = area.top() + 2 + static_cast<double>(i) * metrics.height();
    painter.drawText(QPointF(at + 3, row + metrics.ascent()), markers_[i].name);
  }
  painter.setPen(text);
  painter.drawText(
      QRectF(0, area.top() - 1.25 * metrics.height(), area.left() + 40, metrics.height()),
      Qt::AlignLeft, QStringLiteral("% of paths"));
  painter.drawRect(area);
}

}  // namespace keldovar
