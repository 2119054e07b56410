// Draws a laid-out report on any painter: the window, a printer page, the preview, a PDF.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include "document/table_store.h"
#include "view/layout.h"
#include "view/selection.h"

class QPainter;
class QPaintDevice;

namespace keldovar {

// Page units are 0.01 inch. The transform maps them onto the device at its logical resolution,
// with the page point `origin` at the device's top-left corner.
QTransform pageTransform(const QPaintDevice& device, QPointF origin);

struct DrawOptions {
  QFont font;             // the view's font, sized in page units (see reportFont)
  bool highlight = true;  // the selection is shown: on the screen, never on paper
  QRectF visible;         // the page area to draw; a null rectangle draws everything
  // On paper: only the lines that fit between the top and bottom of `visible` whole, so that no
  // line is cut at a page's top or at its footer. A line crossing the bottom is printed on the
  // next page; one crossing the top was printed whole on the page before.
  bool wholeLines = false;
  int windowWidth = 0;  // page units across the window, to centre the start banner in
};

// The start banner's six lines.
inline constexpr const char* kBannerLines[] = {
    "KELDOVAR Version 3.0",
    "Growth and Yield Simulator",
    "for Predicting Thinned and Unthinned",
    "Loblolly Pine Plantations",
    "on Cutover, Site-Prepared Land",
    "File > New, then Stand > Initialize",
};

// Draws the report (or, on an empty store, the start banner) with the painter's transform
// already mapping page units. Black on white; the selected cells, or with Select All every
// text, white on black while `highlight` is set.
void drawReport(QPainter& painter, const ReportLayout& layout, const TableStore& store,
                const Selection& selection, const DrawOptions& options);

// What the report's texts are drawn in: black on the white page, or inverted.
struct Ink {
  QColor text = Qt::black;
  QColor back = Qt::white;
  bool opaque = false;  // fill the text's box with `back` first
};

// One table's bar graph where the layout placed it; its titles, axis labels and class labels in
// `ink`.
void paintBarGraph(QPainter& painter, const BarGraph& graph, const ReportLayout& layout,
                   const TableLayout& table, const Ink& ink);

}  // namespace keldovar
