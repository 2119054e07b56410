// File > Print..., Print Preview and Print Setup... for a report view: the toolkit's dialogs
// around the view's print job.
#pragma once

#include <QString>

#include "view/qt/report_print.h"

class QPrinter;
class QWidget;

namespace keldovar {

class CKELDOVARView;

// A printer as the program starts with it: Letter paper, or A4 where the locale measures in
// metric, portrait, and the margins of an exported PDF, so that both cut the same pages.
void prepareDefaultPrinter(QPrinter& printer);

// Each does nothing on an empty store (the window disables the commands then, see
// CKELDOVARView::canPrint). `title` is the document's, for the page footers.
// The print dialog, then the chosen pages; true when they were printed.
bool printWithDialog(CKELDOVARView& view, QPrinter& printer, const QString& title, QWidget* parent,
                     const PrintChoices& choices = {});
// The preview window, from which the user may print.
void showPrintPreview(CKELDOVARView& view, QPrinter& printer, const QString& title, QWidget* parent,
                      const PrintChoices& choices = {});
// The page setup dialog: paper, orientation and margins for the next print and preview.
bool setUpPage(QPrinter& printer, QWidget* parent);

}  // namespace keldovar
