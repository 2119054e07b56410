// Page size, page count, page origins and the footer of a printed report.
#include "view/pagination.h"

#include <algorithm>

#include "engine/report_text.h"

namespace keldovar {
namespace {

constexpr int kFooterDrop = 100;  // the footer band runs this far below the printable area

int pagesFor(int length, int page) {
  long long pages = (static_cast<long long>(std::max(length, 0)) + page - 1) / page;
  return static_cast<int>(std::clamp(pages, 1LL, static_cast<long long>(Pagination::kMaxPages)));
}

}  // namespace

PageSetup pageSetup(int printableWidth, int printableHeight, const TextMetrics& printer) {
  PageSetup setup;
  setup.paperHeight = std::max(printableHeight, 1);
  setup.lineHeight = std::clamp(printer.lineHeight(), 1, setup.paperHeight);
  int charWidth = std::clamp(printer.textWidth("W"), 0, std::max(printableWidth, 0));
  setup.pageWidth = std::max(printableWidth - charWidth, 1);
  long long height = static_cast<long long>(printableHeight) - 2LL * setup.lineHeight;
  setup.pageHeight = static_cast<int>(std::max(height, 1LL));
  return setup;
}

ReportLayout printLayout(const TableStore& store, const TextMetrics& printer,
                         const PageSetup& setup, bool showFinancial, bool showBargraph,
                         const CarbonOptions& carbon) {
  LayoutParams params;
  params.showFinancial = showFinancial;
  params.showBargraph = showBargraph;
  params.carbon = carbon;
  params.forPrint = true;
  params.pageHeight = setup.pageHeight;
  return ReportLayout(store, printer, params);
}

Pagination::Pagination(const ReportLayout& layout, const PageSetup& setup) : setup_(setup) {
  setup_.pageWidth = std::max(setup_.pageWidth, 1);
  setup_.pageHeight = std::max(setup_.pageHeight, 1);
  across_ = pagesFor(layout.docWidth(), setup_.pageWidth);
  down_ = pagesFor(layout.docHeight(), setup_.pageHeight);
  long long count = static_cast<long long>(across_) * down_;
  count_ = static_cast<int>(std::min(count, static_cast<long long>(kMaxPages)));
}

PageOrigin Pagination::origin(int page) const {
  int n = std::clamp(page, 1, count_) - 1;
  return {n % across_ * setup_.pageWidth, n / across_ * setup_.pageHeight};
}

FooterBand Pagination::footer(int page, std::string_view title) const {
  FooterBand band;
  band.top = setup_.paperHeight - setup_.lineHeight;
  band.bottom = setup_.paperHeight + kFooterDrop;
  band.width = setup_.pageWidth;
  std::string name(title);
  band.text = formatText("       %s      page  %d", name.c_str(), page);
  return band;
}

}  // namespace keldovar
