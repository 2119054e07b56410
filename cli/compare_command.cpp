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
#include "script/script.h"

namespace keldovar::cli {

const char* const kCompareUsage =
    "  keldovar-cli compare FILE.kdv|SCRIPT FILE.kdv|SCRIPT... [--format text|json|csv]\n"
    "                       [--pdf COMPARISON.pdf [--page letter|a4]]\n";

namespace {

constexpr const char* kCompareHelp =
    "\nThe newest harvest of each stand file or script's document (a script run as `run` runs\n"
    "it; - reads standard input, once), each at its own financial values, side by side:\n"
    "rotation, thinnings, fertilizations, harvest and total tons, MAI, NPV, LEV and IRR of\n"
    "both managements, the best of each row marked. JSON adds each regime's series against\n"
    "age: standing basal area and tons, and the running present value. --pdf also writes the\n"
    "table and the charts, as the desktop program's Compare Regimes exports them, to\n"
    "COMPARISON.pdf (through keldovar-pdf), on the paper run --pdf takes.\n";
// Enough for any side-by-side reading, and a bound on what one run holds in memory.
constexpr std::size_t kMaxRegimes = 32;

// "dir/thinned-stand.kdr" -> "thinned-stand"; "-" -> "stdin".
std::string regimeName(const std::string& input) {
  if (input == "-") return "stdin";
  std::string name = input.substr(input.find_last_of('/') + 1);
  std::size_t dot = name.find_last_of('.');
  return dot == 0 || dot == std::string::npos ? name : name.substr(0, dot);
}

struct CompareOptions {
  std::vector<std::string> inputs;
  OutputFormat format = OutputFormat::Text;
  std::optional<std::string> pdf;
  std::optional<Paper> page;
};

// --pdf and --page: "" when `a` is neither or its value is taken, else the usage error.
std::string pdfOption(const std::string& a, const std::string* value, CompareOptions& o) {
  if (a == "--pdf") {
    if (value == nullptr) return "--pdf needs a file name";
    o.pdf = *value;
  } else if (a == "--page") {
    if (value == nullptr) return "--page needs a value";
    o.page = parsePaper(*value);
    if (!o.page) return "--page takes letter or a4, not '" + shownWord(*value) + "'";
  }
  return "";
}

std::string parseCompare(const std::vector<std::string>& args, CompareOptions& o) {
  std::vector<std::string>& inputs = o.inputs;
  OutputFormat& format = o.format;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--pdf" || a == "--page") {
      std::string error = pdfOption(a, i + 1 < args.size() ? &args[++i] : nullptr, o);
      if (!error.empty()) return error;
    } else if (a == "--format") {
      if (i + 1 >= args.size()) return "--format needs a value";
      const std::string& value = args[++i];
      if (value == "text") {
        format = OutputFormat::Text;
      } else if (value == "json") {
        format = OutputFormat::Json;
      } else if (value == "csv") {
        format = OutputFormat::Csv;
      } else {
        return "--format takes text, json or csv, not '" + shownWord(value) + "'";
      }
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + shownWord(a) + "'";
    } else {
      inputs.push_back(a);
    }
  }
  if (inputs.size() < 2) return "compare needs two or more stand files or scripts";
  if (inputs.size() > kMaxRegimes) return "compare takes at most 32 regimes";
  if (std::count(inputs.begin(), inputs.end(), "-") > 1) return "- can be given once";
  if (o.page && !o.pdf) return "--page is for --pdf";
  return "";
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

int runCompare(const std::vector<std::string>& args, const InputReader& standardInput,
               std::ostream& out, std::ostream& err) {
  if (std::find(args.begin() + 1, args.end(), "--help") != args.end()) {
    return writeReport(out, err, std::string("Usage:\n") + kCompareUsage + kCompareHelp);
  }
  CompareOptions o;
  std::string error = parseCompare(args, o);
  if (!error.empty()) {
    err << "keldovar-cli: " << error << "\nUsage:\n" << kCompareUsage;
    return kExitUsage;
  }
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
    regimes.push_back({regimeName(input), std::move(*summary)});
    if (o.pdf) documents.push_back(std::move(*content));
  }
  std::string text = o.format == OutputFormat::Json  ? comparisonJson(regimes)
                     : o.format == OutputFormat::Csv ? econ::comparisonCsv(regimes)
                                                     : econ::comparisonText(regimes);
  int status = writeReport(out, err, text);
  if (!o.pdf) return status;
  std::vector<NamedDocument> named;
  for (std::size_t i = 0; i < documents.size(); ++i)
    named.push_back({regimes[i].name, &documents[i]});
  PdfRequest request{*o.pdf, "Compare Regimes", o.page ? *o.page : localePaper()};
  return std::max(status, exportComparisonPdf(named, request, err));
}

}  // namespace keldovar::cli
