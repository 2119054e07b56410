// Paints a line chart worked out by view/line_chart on any painter: a window or a PDF page.
#pragma once

#include <QColor>

#include "view/line_chart.h"

class QFontMetricsF;
class QPainter;

namespace keldovar {

// The colour of series colour index `index`, one a regime, distinct for the first eight.
QColor chartColour(int index);

// The width of a text in the font of `metrics`, for laying out the legend.
ChartTextWidth chartTextWidth(const QFontMetricsF& metrics);

// The frame, the grid and tick labels, the zero line, the series and a legend of their names.
void paintLineChart(QPainter& painter, const LineChartDrawing& chart);

}  // namespace keldovar
