// keldovar-cli compare: its options, the documents it reads and the report it writes.
#include "cli/compare_command.h"

#include <algorithm>
#include <ostream>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/compare_output.h"
#include "cli/output.h"
#include "cli/sensitivity_command.h"
#include "script/script.h"

namespace keldovar::cli {

const char* const kCompareUsage =
    "  keldovar-cli compare FILE.kdv|SCRIPT FILE.kdv|SCRIPT... [--format text|json|csv]\n";

namespace {

constexpr const char* kCompareHelp =
    "\nThe newest harvest of each stand file or script's document (a script run as `run` runs\n"
    "it; - reads standard input, once), each at its own financial values, side by side:\n"
    "rotation, thinnings, fertilizations, harvest and total tons, MAI, NPV, LEV and IRR of\n"
    "both managements, the best of each row marked. JSON adds each regime's series against\n"
    "age: standing basal area and tons, and the running present value.\n";
// Enough for any side-by-side reading, and a bound on what one run holds in memory.
constexpr std::size_t kMaxRegimes = 32;

// "dir/thinned-stand.kdr" -> "thinned-stand"; "-" -> "stdin".
std::string regimeName(const std::string& input) {
  if (input == "-") return "stdin";
  std::string name = input.substr(input.find_last_of('/') + 1);
  std::size_t dot = name.find_last_of('.');
  return dot == 0 || dot == std::string::npos ? name : name.substr(0, dot);
}

std::string parseCompare(const std::vector<std::string>& args, std::vector<std::string>& inputs,
                         OutputFormat& format) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--format") {
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
  return "";
}

}  // namespace

int runCompare(const std::vector<std::string>& args, const InputReader& standardInput,
               std::ostream& out, std::ostream& err) {
  if (std::find(args.begin() + 1, args.end(), "--help") != args.end()) {
    return writeReport(out, err, std::string("Usage:\n") + kCompareUsage + kCompareHelp);
  }
  std::vector<std::string> inputs;
  OutputFormat format = OutputFormat::Text;
  std::string error = parseCompare(args, inputs, format);
  if (!error.empty()) {
    err << "keldovar-cli: " << error << "\nUsage:\n" << kCompareUsage;
    return kExitUsage;
  }
  std::vector<econ::ComparedRegime> regimes;
  for (const std::string& input : inputs) {
    int status = 0;
    std::optional<DocumentContent> content = loadDocument(input, standardInput, err, status);
    if (!content) return status;
    std::optional<econ::RegimeSummary> summary = econ::summarizeRegime(*content);
    if (!summary) {
      err << "keldovar-cli: " << input << ": the document holds no harvest\n";
      return kExitFailedStep;
    }
    regimes.push_back({regimeName(input), std::move(*summary)});
  }
  std::string text = format == OutputFormat::Json  ? comparisonJson(regimes)
                     : format == OutputFormat::Csv ? econ::comparisonCsv(regimes)
                                                   : econ::comparisonText(regimes);
  return writeReport(out, err, text);
}

}  // namespace keldovar::cli
