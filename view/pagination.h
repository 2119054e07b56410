// Cutting the report page into printer pages: the usable page size, which pages are printed and
// in what order, where each starts on the report, which lines each prints, and the footer band.
// The preview, the printer and the PDF all take their pages from here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/table_store.h"
#include "view/layout.h"
#include "view/text_metrics.h"

namespace keldovar {

// Page units (0.01 inch on paper), measured on the printer.
struct PageSetup {
  int pageWidth = 1;    // the printable width less one character width
  int pageHeight = 1;   // the printable height less two line heights
  int paperHeight = 1;  // the printable height
  int lineHeight = 1;   // one printer line, the footer's height
  int charWidth = 1;    // one printer character, for the footer's length
  // How far below and right of the printable area the paper goes: the footer's white band stops
  // there, and its text may reach that far.
  int bottomMargin = 100;
  int rightMargin = 0;
  // Page units per report unit: 1, or less when the report is shrunk to the page's width.
  double scale = 1.0;

  // What one page holds of the report, in report units.
  int reportPageWidth() const;
  int reportPageHeight() const;
  // The report lines a page prints: down to the footer band's top, in report units.
  int reportBandHeight() const;
};
PageSetup pageSetup(int printableWidth, int printableHeight, const TextMetrics& printer);

// The scale at which a report `docWidth` wide fits the setup's page width: 1 when it fits as it
// is, never larger, and never so small that a page would hold more than a thousand times its
// area.
double fitWidthScale(const PageSetup& setup, int docWidth);

// The print layout: the screen's layout on the printer's metrics with the page-break rule, so a
// bar graph never crosses a page break. The screen's own layout is not touched.
ReportLayout printLayout(const TableStore& store, const TextMetrics& printer,
                         const PageSetup& setup, bool showFinancial, bool showBargraph,
                         const CarbonOptions& carbon = {}, const ShownUnits& units = {});

// Where page n's printable area starts on the report page (its window origin), report units.
struct PageOrigin {
  int x = 0;
  int y = 0;
};

// Relative to the page's origin, in page units: blanked white from `top` to `bottom` (past the
// printable area's end, never past the paper's), the text left-aligned at (0, top) across the
// page width, and a rule `ruleLength` long from (0, top). A title too long for the line is cut
// short with "...", so that the page number stays on the paper.
struct FooterBand {
  int top = 0;
  int bottom = 0;
  int width = 0;
  int ruleLength = 300;
  std::string text;
};

// An item of a page is printed when it lies whole between the top of the page and the footer
// band, so that no line is cut: one crossing the bottom goes on the next page down. An item
// taller than that room could never be whole and is printed wherever it shows.
bool printedWithin(const LayoutItem& item, int bandTop, int bandHeight);

// The pages of the report page cut into a grid of page columns and strips, left to right, then
// down. A page whose part of the report holds nothing but blanks is not printed, so no page
// carries only its footer; the pages printed are numbered on without a gap. Drawing a page means
// drawing the print layout shifted by the page's origin and clipped to the printable area: a
// character that crosses the page's right edge is printed whole there and again at the start of
// the next page column.
class Pagination {
 public:
  // At most this many pages, for a printable area smaller than the report's text.
  static constexpr int kMaxPages = 10000;

  Pagination(const ReportLayout& layout, const PageSetup& setup);
  int across() const { return across_; }
  int down() const { return down_; }
  int pageCount() const { return static_cast<int>(pages_.size()); }
  // Page n, 1-based; numbers outside 1..pageCount() give the nearest page.
  PageOrigin origin(int page) const;
  FooterBand footer(int page, std::string_view title) const;

 private:
  void keepInkedPages(const ReportLayout& layout);

  PageSetup setup_;
  int across_ = 1;
  int down_ = 1;
  std::vector<int> pages_;  // grid cells printed, row * across + column, in order
};

}  // namespace keldovar
