// The regimes' comparison on paper, as the desktop window's Export PDF and keldovar-pdf write it:
// the table's text first, then the charts, on landscape pages.
#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <string>
#include <vector>

#include "view/line_chart.h"

namespace keldovar {

// The PDF of `tableText` (its lines as they are, in a fixed-pitch font made small enough for the
// widest to fit the page, over as many pages as they take) and of `charts`, one under another on
// the last page. `title` is the PDF's title.
QByteArray comparisonPdf(const std::string& tableText, const std::vector<LineChartSpec>& charts,
                         const QString& title, QPageSize::PageSizeId paper);

}  // namespace keldovar
