// The print, preview and page setup dialogs around the report view's print job.
#include "view/qt/print_dialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "view/qt/keldovar_view.h"
#include "view/qt/report_print.h"

namespace keldovar {

void prepareDefaultPrinter(QPrinter& printer) {
  printer.setPageLayout(defaultPageLayout());
}

bool printWithDialog(CKELDOVARView& view, QPrinter& printer, const QString& title, QWidget* parent,
                     const PrintChoices& choices) {
  if (!view.canPrint()) return false;
  printer.setDocName(title);
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, view.printPageCount(printer, choices));
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  view.print(printer, choices);
  return true;
}

void showPrintPreview(CKELDOVARView& view, QPrinter& printer, const QString& title, QWidget* parent,
                      const PrintChoices& choices) {
  if (!view.canPrint()) return;
  printer.setDocName(title);
  QPrintPreviewDialog preview(&printer, parent);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &view,
                   [&view, choices](QPrinter* target) { view.print(*target, choices); });
  preview.exec();
}

bool setUpPage(QPrinter& printer, QWidget* parent) {
  QPageSetupDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace keldovar
