// Painting the forest chart: for each year a bar of the standing pulpwood and sawtimber tons and
// beside it a bar of the tons cut, under sawtimber+pulpwood management, the whole forest.
#include "desktop/forest_chart.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace keldovar {
namespace {

struct Series {
  const char* name;
  QColor colour;
};
const std::array<Series, 4> kSeries = {{{"Standing pulpwood", QColor(150, 200, 120)},
                                        {"Standing sawtimber", QColor(40, 110, 50)},
                                        {"Cut pulpwood", QColor(225, 180, 110)},
                                        {"Cut sawtimber", QColor(150, 85, 35)}}};

// A round top for the axis: 1, 2 or 5 times a power of ten.
double roundTop(double value) {
  if (!(value > 0)) return 1;
  double power = std::pow(10.0, std::floor(std::log10(value)));
  for (double step : {1.0, 2.0, 5.0, 10.0}) {
    if (step * power >= value) return step * power;
  }
  return 10 * power;
}

}  // namespace

ForestChart::ForestChart(QWidget* parent) : QWidget(parent) {
  setObjectName("ForestChart");
  setMinimumSize(320, 200);
}

void ForestChart::setYears(std::vector<forest::ForestYear> years) {
  years_ = std::move(years);
  update();
}

void ForestChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  painter.setPen(palette().text().color());
  QFontMetrics metrics(font());
  int line = metrics.height();
  painter.drawText(QRect(0, 2, width(), line), Qt::AlignCenter,
                   "The forest's tons by year: standing after each year's steps, and cut");
  // The legend, one swatch a series.
  int x = 8;
  for (const Series& s : kSeries) {
    painter.fillRect(QRect(x, 6 + line, line - 4, line - 4), s.colour);
    painter.drawText(QPoint(x + line, 4 + 2 * line - metrics.descent()), s.name);
    x += line + metrics.horizontalAdvance(s.name) + 16;
  }
  QLocale locale;
  double top = 0;
  for (const forest::ForestYear& y : years_) {
    top = std::max({top, y.standing.iuPulpTons + y.standing.sawTons,
                    y.removed.iuPulpTons + y.removed.sawTons});
  }
  top = roundTop(top);
  int left = metrics.horizontalAdvance(locale.toString(top, 'f', 0)) + 12;
  QRectF area(left, 3 * line + 8, width() - left - 12, height() - 5 * line - 12);
  if (area.width() < 20 || area.height() < 20) return;
  painter.drawRect(area);
  for (double fraction : {0.0, 0.5, 1.0}) {
    double yPos = area.bottom() - fraction * area.height();
    painter.drawText(QRectF(0, yPos - line / 2.0, left - 6, line),
                     Qt::AlignRight | Qt::AlignVCenter, locale.toString(top * fraction, 'f', 0));
  }
  painter.drawText(QRectF(0, height() - line - 2, width(), line), Qt::AlignCenter,
                   "Years from the inventory (tons, the whole forest)");
  if (years_.empty()) return;
  double first = years_.front().year;
  double last = std::max(years_.back().year, first + 1);
  double slot = area.width() / (last - first + 1);
  double barWidth = std::max(1.0, slot * 0.4);
  auto bar = [&](double year, double offset, double low, double high, const QColor& colour) {
    double xPos = area.left() + (year - first + 0.5) * slot + offset;
    QRectF r(xPos, area.bottom() - high / top * area.height(), barWidth,
             (high - low) / top * area.height());
    painter.fillRect(r, colour);
  };
  // Years with bars are labelled wherever a label does not crowd the one before it.
  double labelGap = metrics.horizontalAdvance("0000");
  double lastLabel = -labelGap;
  for (const forest::ForestYear& y : years_) {
    double standingPulp = y.standing.iuPulpTons;
    bar(y.year, -barWidth, 0, standingPulp, kSeries[0].colour);
    bar(y.year, -barWidth, standingPulp, standingPulp + y.standing.sawTons, kSeries[1].colour);
    double cutPulp = y.removed.iuPulpTons;
    bar(y.year, 0, 0, cutPulp, kSeries[2].colour);
    bar(y.year, 0, cutPulp, cutPulp + y.removed.sawTons, kSeries[3].colour);
    double xPos = area.left() + (y.year - first + 0.5) * slot;
    if (std::abs(y.year - std::round(y.year)) < 1e-9 && xPos - lastLabel >= labelGap) {
      lastLabel = xPos;
      painter.drawText(QRectF(xPos - 30, area.bottom() + 2, 60, line), Qt::AlignCenter,
                       QString::number(y.year));
    }
  }
}

}  // namespace keldovar
