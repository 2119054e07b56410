// keldovar-cli compare: its options, the documents it reads and the report it writes.
#include "cli/compare_command.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/compare_output.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/pdf_export.h"
#include "cli/sensitivity_command.h"
#include "econ/metric_comparison.h"
#include "script/script.h"

namespace keldovar::cli {

const char* const kCompareUsage =
    "  keldovar-cli compare FILE.kdv|SCRIPT FILE.kdv|SCRIPT... [--format text|json|csv]\n"
    "                   [--units imperial|metric] [--pdf COMPARISON.pdf [--page letter|a4]]\n";

namespace {

// Enough for any side-by-side reading, and a bound on what one run holds in memory.
constexpr std::size_t kMaxRegimes = 32;

// "dir/thinned-stand.kdr" -> "thinned-stand"; "-" -> "stdin".
std::string regimeName(const std::string& input) {
  if (input == "-") return "stdin";
  std::string name = input.substr(input.find_last_of('/') + 1);
  std::size_t dot = name.find_last_of('.');
  return dot == 0 || dot == std::string::npos ? name : name.substr(0, dot);
}

// A --pdf that is not a regular file, or is one of the inputs, is refused before anything runs.
std::optional<std::string> refusedPdf(const CompareOptions& o) {
  if (!o.pdf) return std::nullopt;
  if (auto refused = refusedOutput(*o.pdf, "--pdf")) return refused;
  for (const std::string& input : o.inputs) {
    std::error_code error;
    if (std::filesystem::equivalent(*o.pdf, input, error)) {
      return "--pdf " + *o.pdf + " would write over " + input;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> compareUsageError(const CompareOptions& o) {
  if (o.inputs.size() < 2) return std::string("compare needs two or more stand files or scripts");
  if (o.inputs.size() > kMaxRegimes) return std::string("compare takes at most 32 regimes");
  if (std::count(o.inputs.begin(), o.inputs.end(), "-") > 1) {
    return std::string("- can be given once");
  }
  if (o.page && !o.pdf) return std::string("--page is for --pdf");
  return std::nullopt;
}

int runCompare(const CompareOptions& o, const InputReader& standardInput, std::ostream& out,
               std::ostream& err) {
  if (auto refused = refusedPdf(o)) {
    err << "keldovar-cli: " << *refused << "\n";
    return kExitUsage;
  }
  std::vector<econ::ComparedRegime> regimes;
  std::vector<DocumentContent> documents;  // kept for the PDF, which summarizes them again
  for (const std::string& input : o.inputs) {
    int status = 0;
    std::optional<DocumentContent> content = loadDocument(input, standardInput, err, status);
    if (!content) return status;
    std::optional<econ::RegimeSummary> summary = econ::summarizeRegime(*content);
    if (!summary) {
      err << "keldovar-cli: " << input << ": the document holds no harvest\n";
      return kExitFailedStep;
    }
    regimes.push_back({regimeName(input), econ::shownSummary(o.units, *summary)});
    if (o.pdf) documents.push_back(std::move(*content));
  }
  std::string text = o.format == OutputFormat::Json  ? comparisonJson(regimes, o.units)
                     : o.format == OutputFormat::Csv ? econ::comparisonCsv(regimes, o.units)
                                                     : econ::comparisonText(regimes, o.units);
  int status = writeReport(out, err, text);
  if (!o.pdf) return status;
  std::vector<NamedDocument> named;
  for (std::size_t i = 0; i < documents.size(); ++i)
    named.push_back({regimes[i].name, &documents[i]});
  PdfRequest request{*o.pdf, "Compare Regimes", o.page ? *o.page : localePaper(), o.units};
  return std::max(status, exportComparisonPdf(named, request, err));
}

}  // namespace keldovar::cli
