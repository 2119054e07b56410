// The regimes' comparison on paper, as the desktop window's Export PDF and keldovar-pdf write it:
// the table's text first, then the charts, on landscape pages.
#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "view/line_chart.h"

namespace keldovar {

// The comparison table's text in parts no wider than the characters given, a part a page.
using ComparisonTableParts = std::function<std::vector<std::string>(std::size_t width)>;

// The PDF of the table's parts (their lines as they are, in a fixed-pitch font made small enough
// for the widest to fit the page, each over as many pages as it takes) and of `charts`, one under
// another on the last page, or a page each when many regimes' legends leave too little room.
// `title` is the PDF's title.
QByteArray comparisonPdf(const ComparisonTableParts& tableParts,
                         const std::vector<LineChartSpec>& charts, const QString& title,
                         QPageSize::PageSizeId paper);

}  // namespace keldovar
