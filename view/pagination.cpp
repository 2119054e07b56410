// Page size, the pages printed and their order, page origins and the footer of a printed report.
#include "view/pagination.h"

#include <algorithm>
#include <cmath>

#include "engine/report_text.h"

namespace keldovar {
namespace {

constexpr int kFooterDrop = 100;  // the footer band runs this far below the printable area
// Above this many grid cells the paper is absurdly small for the report: every cell is printed,
// up to kMaxPages, without looking for blank ones.
constexpr long long kGridCellsChecked = 4LL * Pagination::kMaxPages;
constexpr double kMinScale = 0.001;

int pagesFor(int length, int page) {
  long long pages = (static_cast<long long>(std::max(length, 0)) + page - 1) / page;
  return static_cast<int>(std::clamp(pages, 1LL, static_cast<long long>(Pagination::kMaxPages)));
}

int inReport(int pageUnits, double scale) {
  return std::max(static_cast<int>(pageUnits / scale), 1);
}

// The grid cells holding ink, one flag per cell, row by row.
class InkGrid {
 public:
  InkGrid(int across, int down, int pageWidth, int pageHeight, int bandHeight)
      : across_(across),
        down_(down),
        width_(pageWidth),
        height_(pageHeight),
        band_(bandHeight),
        inked_(static_cast<std::size_t>(across) * static_cast<std::size_t>(down), false) {}

  bool inked(int cell) const { return inked_[static_cast<std::size_t>(cell)]; }

  // The ink from x0 to x1 (the starts of its first and last character) of an item.
  void mark(const LayoutItem& item, double x0, double x1) {
    int c0 = std::clamp(static_cast<int>(std::floor(x0 / width_)), 0, across_ - 1);
    int c1 = std::clamp(static_cast<int>(std::floor(x1 / width_)), c0, across_ - 1);
    int r0 = std::max((item.y - band_) / height_ - 1, 0);
    int r1 = std::min((item.y + item.height) / height_ + 1, down_ - 1);
    for (int r = r0; r <= r1; ++r) {
      if (!printedWithin(item, r * height_, band_)) continue;
      for (int c = c0; c <= c1; ++c) {
        inked_[static_cast<std::size_t>(r) * static_cast<std::size_t>(across_) +
               static_cast<std::size_t>(c)] = true;
      }
    }
  }

  // Each run of non-blank characters of a text whose characters start at x, x + advance, ...
  void markText(const LayoutItem& item, double x, double advance) {
    const std::string& text = item.text;
    std::size_t i = 0;
    while (i < text.size()) {
      std::size_t first = text.find_first_not_of(' ', i);
      if (first == std::string::npos) break;
      std::size_t end = std::min(text.find(' ', first), text.size());
      mark(item, x + static_cast<double>(first) * advance,
           x + static_cast<double>(end - 1) * advance);
      i = end;
    }
  }

 private:
  int across_, down_, width_, height_, band_;
  std::vector<bool> inked_;
};

}  // namespace

int PageSetup::reportPageWidth() const {
  return inReport(pageWidth, scale);
}

int PageSetup::reportPageHeight() const {
  return inReport(pageHeight, scale);
}

int PageSetup::reportBandHeight() const {
  return inReport(paperHeight - lineHeight, scale);
}

PageSetup pageSetup(int printableWidth, int printableHeight, const TextMetrics& printer) {
  PageSetup setup;
  setup.paperHeight = std::max(printableHeight, 1);
  setup.lineHeight = std::clamp(printer.lineHeight(), 1, setup.paperHeight);
  int charWidth = std::clamp(printer.textWidth("W"), 0, std::max(printableWidth, 0));
  setup.charWidth = std::max(charWidth, 1);
  setup.pageWidth = std::max(printableWidth - charWidth, 1);
  long long height = static_cast<long long>(printableHeight) - 2LL * setup.lineHeight;
  setup.pageHeight = static_cast<int>(std::max(height, 1LL));
  return setup;
}

double fitWidthScale(const PageSetup& setup, int docWidth) {
  if (docWidth <= setup.pageWidth) return 1.0;
  return std::max(static_cast<double>(setup.pageWidth) / docWidth, kMinScale);
}

ReportLayout printLayout(const TableStore& store, const TextMetrics& printer,
                         const PageSetup& setup, bool showFinancial, bool showBargraph,
                         const CarbonOptions& carbon, const ShownUnits& units) {
  LayoutParams params;
  params.units = units.units;
  params.currency = units.currency;
  params.decimalSeparator = units.decimalSeparator;
  params.showFinancial = showFinancial;
  params.showBargraph = showBargraph;
  params.carbon = carbon;
  params.forPrint = true;
  params.pageHeight = setup.reportPageHeight();
  return ReportLayout(store, printer, params);
}

bool printedWithin(const LayoutItem& item, int bandTop, int bandHeight) {
  int top = item.y;
  int bottom = item.y + item.height;
  int bandBottom = bandTop + bandHeight;
  if (item.height <= bandHeight) return top >= bandTop && bottom <= bandBottom;
  return bottom >= bandTop && top <= bandBottom;
}

Pagination::Pagination(const ReportLayout& layout, const PageSetup& setup) : setup_(setup) {
  setup_.pageWidth = std::max(setup_.pageWidth, 1);
  setup_.pageHeight = std::max(setup_.pageHeight, 1);
  setup_.scale = std::clamp(setup_.scale, kMinScale, 1.0);
  across_ = pagesFor(layout.docWidth(), setup_.reportPageWidth());
  down_ = pagesFor(layout.docHeight(), setup_.reportPageHeight());
  keepInkedPages(layout);
}

void Pagination::keepInkedPages(const ReportLayout& layout) {
  long long cells = static_cast<long long>(across_) * down_;
  if (cells > kGridCellsChecked || layout.tables().empty()) {
    long long count = std::min(cells, static_cast<long long>(kMaxPages));
    for (int cell = 0; cell < count; ++cell) pages_.push_back(cell);
    return;
  }
  InkGrid grid(across_, down_, setup_.reportPageWidth(), setup_.reportPageHeight(),
               setup_.reportBandHeight());
  // Texts are placed by the report's fixed pitch: a line's characters share its measured width,
  // a centred text is as wide as its characters.
  const double pitch = layout.charWidth();
  for (const TableLayout& table : layout.tables()) {
    for (const LayoutItem& item : table.items) {
      auto n = static_cast<double>(item.text.size());
      switch (item.kind) {
        case ItemKind::Line:
          if (n > 0) grid.markText(item, item.x, item.width / n);
          break;
        case ItemKind::Heading:
        case ItemKind::Cell:
          grid.markText(item, item.x + (item.width - n * pitch) / 2, pitch);
          break;
        case ItemKind::BarGraph:
          grid.mark(item, item.x, item.x + item.width - 1);
          break;
      }
    }
  }
  for (int cell = 0; cell < cells && pageCount() < kMaxPages; ++cell) {
    if (grid.inked(cell)) pages_.push_back(cell);
  }
  if (pages_.empty()) pages_.push_back(0);
}

PageOrigin Pagination::origin(int page) const {
  int n = std::clamp(page, 1, pageCount()) - 1;
  int cell = pages_[static_cast<std::size_t>(n)];
  return {cell % across_ * setup_.reportPageWidth(), cell / across_ * setup_.reportPageHeight()};
}

FooterBand Pagination::footer(int page, std::string_view title) const {
  FooterBand band;
  band.top = setup_.paperHeight - setup_.lineHeight;
  band.bottom = setup_.paperHeight + std::clamp(setup_.bottomMargin, 0, kFooterDrop);
  band.width = setup_.pageWidth;
  std::string name(title);
  band.text = formatText("       %s      page  %d", name.c_str(), page);
  const auto fits = static_cast<std::size_t>(
      (setup_.pageWidth + setup_.charWidth + std::max(setup_.rightMargin, 0)) /
      std::max(setup_.charWidth, 1));
  constexpr std::string_view kCut = "...";
  if (band.text.size() > fits) {
    std::size_t room = fits - std::min(fits, band.text.size() - name.size());
    name = room > kCut.size() ? name.substr(0, room - kCut.size()) + std::string(kCut) : "";
    band.text = formatText("       %s      page  %d", name.c_str(), page);
  }
  return band;
}

}  // namespace keldovar
