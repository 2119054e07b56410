// --pdf: the document's printed pages as a PDF, written by the keldovar-pdf program so that
// keldovar-cli itself stays free of the toolkit.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "document/document_content.h"
#include "view/print_defaults.h"

namespace keldovar::cli {

struct PdfRequest {
  std::string path;   // the PDF to write
  std::string title;  // the PDF's title and the one in every page's footer
  Paper paper = Paper::Letter;
  UnitSystem units = UnitSystem::Imperial;  // metric is handed on as --units metric
};

// Hands the document to keldovar-pdf on a pipe and waits for it. keldovar-pdf is the program
// KELDOVAR_PDF names when set, else the one beside keldovar-cli, else the one on PATH. Returns 0,
// or kExitFailedStep after saying so on `err` (keldovar-pdf says why on standard error).
int exportPdf(const DocumentContent& content, const PdfRequest& request, std::ostream& err);

struct NamedDocument {
  std::string name;  // the regime's name in the comparison
  const DocumentContent* content = nullptr;
};

// compare --pdf: the documents' comparison as `keldovar-pdf --compare` draws it. The documents
// go on its standard input each as a line "LENGTH NAME" and then LENGTH bytes of stand file.
int exportComparisonPdf(const std::vector<NamedDocument>& documents, const PdfRequest& request,
                        std::ostream& err);

}  // namespace keldovar::cli
