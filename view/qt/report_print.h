// The report on paper: every page of the print layout, with its footer, on a printer, in the
// preview or into a PDF.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <string>

#include "document/document_settings.h"
#include "document/table_store.h"
#include "view/font_file.h"
#include "view/pagination.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPrinter;

namespace keldovar {

// Pages from..to (1-based; 0 for either end means the first or the last page).
struct PageRange {
  int from = 0;
  int to = 0;
};

// What the user chose for a printout beyond the paper: shrinking the report to the page's width
// so that no table is cut into page columns. Off, the report prints at its size.
struct PrintChoices {
  bool fitWidth = false;
  // The metric view's money, as the window shows it (the units are the view options').
  std::string currency = "$";
  char decimalSeparator = '.';
};

// A print job's pages: the printable area in page units (the page layout's, the same for a
// printer, its preview and a PDF of that layout), the print layout of the store on it, and the
// pages it is cut into.
struct PrintPlan {
  PrintPlan(const QPagedPaintDevice& device, const TableStore& store, const ViewOptions& options,
            const QFont& font, const CarbonOptions& carbon = {}, const PrintChoices& choices = {});
  QRectF printable;
  PageSetup setup;
  ReportLayout layout;
  Pagination pages;
};

// Lays the store out for the device's printable area and draws each page through the report's
// one drawing routine, without any selection. The screen's layout is not touched. Returns the
// number of pages drawn: 0 for an empty store or a device that would not start.
int printReport(QPagedPaintDevice& device, const TableStore& store, const ViewOptions& options,
                const QFont& font, const QString& title, PageRange range = {},
                const CarbonOptions& carbon = {}, const PrintChoices& choices = {});
// The same on a printer, within the pages its print dialog chose.
int printReport(QPrinter& printer, const TableStore& store, const ViewOptions& options,
                const QFont& font, const QString& title, const CarbonOptions& carbon = {},
                const PrintChoices& choices = {});

// Letter, or A4 where the system's locale measures in metric.
QPageSize::PageSizeId defaultPaper();
// The page a printout takes unless the user sets it up: portrait, half-inch margins.
QPageLayout defaultPageLayout(QPageSize::PageSizeId paper = defaultPaper());

// The printed report as a PDF document with `title` as its title, in memory, for the caller to
// save. False for an empty store.
bool writeReportPdf(const TableStore& store, const ViewOptions& options, const std::string& title,
                    QByteArray& out, QPageSize::PageSizeId paper = defaultPaper(),
                    const FontDescription& font = FontDescription{});
// The same on the page of a page setup, with the carbon section as the document shows it, shrunk
// to the page's width when chosen: what Print and Print Preview give on that page.
bool writeReportPdf(const TableStore& store, const ViewOptions& options, const std::string& title,
                    QByteArray& out, const QPageLayout& page, const FontDescription& font,
                    const CarbonOptions& carbon, const PrintChoices& choices);

}  // namespace keldovar
