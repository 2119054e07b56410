// Building the clipboard's forms of the selection and handing them over.
#include "view/qt/report_clipboard.h"

#include <QClipboard>
#include <QMimeData>
#include <algorithm>

#include "view/qt/qt_text.h"

namespace keldovar {
namespace {

// A column's heading in one line: "Integrated - Pulp Tons".
std::string columnHeading(int column) {
  const StockColumnFace& face = kStockColumnFaces[static_cast<std::size_t>(column)];
  std::string heading;
  for (std::string_view part : {face.group, face.headTop, face.headBottom}) {
    if (part.empty()) continue;
    if (!heading.empty()) heading += ' ';
    heading += part;
  }
  return heading;
}

}  // namespace

std::string selectionCsv(const TableStore& store, const Selection& selection) {
  if (selection.selectAll() || !selection.hasAnchor() || selection.selTable() < 0) return {};
  int row1 = selection.extentRow() < 0 ? selection.anchorRow() : selection.extentRow();
  int col1 = selection.extentCol() < 0 ? selection.anchorCol() : selection.extentCol();
  int first = std::clamp(std::min(selection.anchorCol(), col1), 0, kStockTableColumns - 1);
  int last = std::clamp(std::max(selection.anchorCol(), col1), 0, kStockTableColumns - 1);
  std::string csv;
  for (int c = first; c <= last; ++c) {
    if (c > first) csv += ',';
    csv += columnHeading(c);
  }
  csv += kWindowsLineEnd;
  // The cells are numbers: neither commas nor quotes to escape.
  std::string cells = rectangleText(store, selection.selTable(), selection.anchorRow(),
                                    selection.anchorCol(), row1, col1, kWindowsLineEnd);
  std::replace(cells.begin(), cells.end(), '\t', ',');
  return csv + cells + std::string(kWindowsLineEnd);
}

std::unique_ptr<QMimeData> selectionMimeData(const TableStore& store, const Selection& selection,
                                             bool showFinancial) {
  auto data = std::make_unique<QMimeData>();
  data->setText(fromLatin1(selection.copyText(store, showFinancial, kWindowsLineEnd)));
  std::string csv = selectionCsv(store, selection);
  if (!csv.empty()) data->setData("text/csv", QByteArray::fromStdString(csv));
  return data;
}

bool putOnClipboard(QClipboard& clipboard, std::unique_ptr<QMimeData> data) {
  QString text = data->text();
  clipboard.setMimeData(data.release());
  return clipboard.text() == text;
}

}  // namespace keldovar
