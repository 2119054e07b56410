// Building the clipboard's forms of the selection and handing them over.
#include "view/qt/report_clipboard.h"

#include <QClipboard>
#include <QMimeData>

#include "view/qt/qt_text.h"

namespace keldovar {

std::unique_ptr<QMimeData> selectionMimeData(const TableStore& store, const Selection& selection,
                                             bool showFinancial, const CarbonOptions& carbon) {
  return selectionMimeData(store, selection, ReportOptions{0, showFinancial, false, carbon});
}

std::unique_ptr<QMimeData> selectionMimeData(const TableStore& store, const Selection& selection,
                                             const ReportOptions& options) {
  auto data = std::make_unique<QMimeData>();
  data->setText(fromLatin1(selection.copyText(store, options, kWindowsLineEnd)));
  std::string csv = selection.copyCsv(store, options.units);
  if (!csv.empty()) data->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(csv));
  return data;
}

bool putOnClipboard(QClipboard& clipboard, std::unique_ptr<QMimeData> data) {
  QString text = data->text();
  clipboard.setMimeData(data.release());
  return clipboard.text() == text;
}

}  // namespace keldovar
