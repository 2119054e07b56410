// Cutting the report page into printer pages: the usable page size, the page count, where each
// page starts on the report, and the footer band.
#pragma once

#include <string>
#include <string_view>

#include "document/table_store.h"
#include "view/layout.h"
#include "view/text_metrics.h"

namespace keldovar {

// Logical units, measured on the printer.
struct PageSetup {
  int pageWidth = 1;    // the printable width less one character width
  int pageHeight = 1;   // the printable height less two line heights
  int paperHeight = 1;  // the printable height
  int lineHeight = 1;   // one printer line, the footer's height
};
PageSetup pageSetup(int printableWidth, int printableHeight, const TextMetrics& printer);

// The print layout: the screen's layout on the printer's metrics with the page-break rule, so a
// bar graph never crosses a page break. The screen's own layout is not touched.
ReportLayout printLayout(const TableStore& store, const TextMetrics& printer,
                         const PageSetup& setup, bool showFinancial, bool showBargraph,
                         const CarbonOptions& carbon = {});

// Where page n's printable area starts on the report page (its window origin).
struct PageOrigin {
  int x = 0;
  int y = 0;
};

// Relative to the page's origin: blanked white from `top` to `bottom` (past the printable area's
// end), the text left-aligned at (0, top) across the page width, and a rule `ruleLength` long
// from (0, top).
struct FooterBand {
  int top = 0;
  int bottom = 0;
  int width = 0;
  int ruleLength = 300;
  std::string text;
};

// Pages run left to right, then down. Drawing a page means drawing the print layout shifted by
// the page's origin and clipped to the printable area: a character that crosses the page's right
// edge is printed whole there and again at the start of the next page column.
class Pagination {
 public:
  // At most this many pages, for a printable area smaller than the report's text.
  static constexpr int kMaxPages = 10000;

  Pagination(const ReportLayout& layout, const PageSetup& setup);
  int across() const { return across_; }
  int down() const { return down_; }
  int pageCount() const { return count_; }
  // Page n, 1-based; numbers outside 1..pageCount() give the nearest page.
  PageOrigin origin(int page) const;
  FooterBand footer(int page, std::string_view title) const;

 private:
  PageSetup setup_;
  int across_ = 1;
  int down_ = 1;
  int count_ = 1;
};

}  // namespace keldovar
