// keldovar-pdf: a stand file's printed report, or the comparison of several regimes, as a PDF,
// drawn on Qt's offscreen platform. It is a program of its own so that keldovar-cli writes PDFs
// without linking the toolkit.
#include <QByteArray>
#include <QGuiApplication>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/safe_file.h"
#include "app/stand_file.h"
#include "cli/input.h"
#include "cli/qt/comparison_input.h"
#include "document/settings.h"
#include "econ/comparison_charts.h"
#include "econ/metric_comparison.h"
#include "view/print_defaults.h"
#include "view/qt/comparison_pdf.h"
#include "view/qt/qt_text.h"
#include "view/qt/report_print.h"

namespace keldovar {
namespace {

constexpr const char* kUsage =
    "Usage: keldovar-pdf [--page letter|a4] [--title TITLE] [--units imperial|metric]\n"
    "                    FILE.kdv|- REPORT.pdf\n"
    "       keldovar-pdf --compare [--page letter|a4] [--title TITLE] [--units imperial|metric]\n"
    "                    FILE.kdv... REPORT.pdf\n"
    "Writes the stand file's report (FILE.kdv, or - for standard input) as printed, with its\n"
    "footers, to REPORT.pdf. The paper is Letter, or A4 when the locale asks for it; the title\n"
    "is the stand file's name without its extension, or \"Untitled\".\n"
    "--compare writes the stand files' harvested regimes side by side instead, the table and\n"
    "the charts of keldovar-cli compare --pdf, which sends them as - (standard input).\n"
    "--units metric shows every number in metric units; the stand files stay imperial.\n";
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInternal = 3;
constexpr std::size_t kStandFileLimit = std::size_t{16} << 20;
// A comparison's documents together: many regimes' files, each far under the limit of one.
constexpr std::size_t kComparisonLimit = std::size_t{64} << 20;

struct Request {
  bool compare = false;
  std::vector<std::string> inputs;
  std::string output;
  std::optional<std::string> title;
  Paper paper = localePaper();
  UnitSystem units = UnitSystem::Imperial;
};

// The request, or the usage error's text.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Request& r) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    if (a == "--page" || a == "--title" || a == "--units") {
      if (!hasValue) return a + " needs a value";
      const std::string& value = args[++i];
      if (a == "--title") {
        r.title = value;
      } else if (a == "--units") {
        if (!parseUnitSystem(value, r.units)) {
          return "--units takes imperial or metric, not '" + value + "'";
        }
      } else if (auto paper = parsePaper(value)) {
        r.paper = *paper;
      } else {
        return "--page takes letter or a4, not '" + value + "'";
      }
    } else if (a == "--compare") {
      r.compare = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else {
      files.push_back(a);
    }
  }
  if (files.size() < 2 || (!r.compare && files.size() > 2)) {
    return std::string(r.compare ? "stand files and a PDF file are needed"
                                 : "a stand file and a PDF file are needed");
  }
  r.output = files.back();
  files.pop_back();
  if (files.size() > 1 && std::count(files.begin(), files.end(), "-") > 0) {
    return std::string("- (standard input) is the only input when given");
  }
  r.inputs = files;
  return std::nullopt;
}

// All of standard input, or the error's text when it cannot be read or holds more than `limit`.
std::optional<std::string> readInput(std::size_t limit, std::vector<std::uint8_t>& bytes) {
  if (int error = readStandardInput(limit + 1, bytes); error != 0) {
    return "cannot read standard input: " + fileErrorText(error);
  }
  if (bytes.size() > limit) {
    return "standard input is larger than " + std::to_string(limit >> 20) + " MB";
  }
  return std::nullopt;
}

// The regimes of the stand files, or of the stream on standard input, or the error's text.
std::optional<std::string> readRegimes(const Request& r,
                                       std::vector<econ::ComparedRegime>& regimes) {
  if (r.inputs.front() == "-") {
    std::vector<std::uint8_t> bytes;
    if (auto error = readInput(kComparisonLimit, bytes)) return error;
    return readComparisonStream(bytes, regimes);
  }
  for (const std::string& path : r.inputs) {
    if (auto error = readComparisonFile(path, regimes)) return error;
  }
  return std::nullopt;
}

// The document in the stand file or on standard input, or the error's text.
std::optional<std::string> readDocument(const std::string& input, DocumentContent& content) {
  content = builtInDocument();
  if (input != "-") {
    StandFileResult opened = openStandFile(input, content);
    if (opened.ok()) return std::nullopt;
    return input + ": " + opened.message;
  }
  std::vector<std::uint8_t> bytes;
  if (auto error = readInput(kStandFileLimit, bytes)) return error;
  StandFileResult read = readStandFile(bytes, content);
  if (read.ok()) return std::nullopt;
  return "standard input: " + read.message;
}

// The toolkit's notes on a headless start (no XDG_RUNTIME_DIR, no window system) would only
// clutter a batch run's standard error; its critical errors still get there.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "keldovar-pdf: " << text.toLocal8Bit().constData() << "\n";
  }
}

QPageSize::PageSizeId pageSize(const Request& r) {
  return r.paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter;
}

int writeFile(const Request& r, const QByteArray& pdf) {
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(pdf.constData()),
                                      static_cast<std::size_t>(pdf.size()));
  if (int error = replaceFileContents(r.output, bytes); error != 0) {
    std::cerr << "keldovar-pdf: cannot write the PDF " << r.output << ": " << fileErrorText(error)
              << "\n";
    return kExitFailed;
  }
  return 0;
}

int writeReport(const Request& r, const DocumentContent& content) {
  QByteArray pdf;
  std::string title = r.title ? *r.title : documentTitle(r.inputs.front());
  ViewOptions options = content.options;
  options.units = r.units;
  if (!writeReportPdf(content.store, options, title, pdf, pageSize(r))) {
    std::cerr << "keldovar-pdf: the report has no tables: no PDF written\n";
    return kExitFailed;
  }
  return writeFile(r, pdf);
}

int writeComparison(const Request& r, const std::vector<econ::ComparedRegime>& stored) {
  QString title = fromLatin1(r.title ? *r.title : "Compare Regimes");
  std::vector<econ::ComparedRegime> regimes = stored;
  for (econ::ComparedRegime& regime : regimes) {
    regime.summary = econ::shownSummary(r.units, regime.summary);
  }
  auto parts = [&regimes, &r](std::size_t width) {
    return econ::comparisonTextParts(regimes, width, r.units);
  };
  return writeFile(
      r, comparisonPdf(parts, econ::comparisonCharts(regimes, r.units), title, pageSize(r)));
}

// Reads everything the PDF shows, then starts the toolkit and writes it.
int run(int argc, char** argv) {
  Request request;
  if (auto error = parseArgs(std::vector<std::string>(argv + 1, argv + argc), request)) {
    std::cerr << "keldovar-pdf: " << *error << "\n" << kUsage;
    return kExitUsage;
  }
  std::vector<cli::NamedFile> inputs;
  for (const std::string& input : request.inputs) inputs.push_back({"the stand file", input});
  if (auto same = cli::checkDistinctFiles(inputs, {{"the PDF", request.output}})) {
    std::cerr << "keldovar-pdf: " << *same << "\n";
    return kExitUsage;
  }
  // Read before the toolkit starts, so that a writer on the other end of a pipe is never kept
  // waiting by a slow or failing start.
  DocumentContent content;
  std::vector<econ::ComparedRegime> regimes;
  std::optional<std::string> error = request.compare
                                         ? readRegimes(request, regimes)
                                         : readDocument(request.inputs.front(), content);
  if (error) {
    std::cerr << "keldovar-pdf: " << *error << "\n";
    return kExitFailed;
  }
  if (request.compare && regimes.empty()) {
    std::cerr << "keldovar-pdf: no regimes to compare: no PDF written\n";
    return kExitFailed;
  }
  // Batch runs have no display; a platform the user chose is still honoured.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(toolkitMessage);
  // The toolkit sees the program's name only: it takes words such as "-platform" as its own
  // options, and a file or title may begin with one.
  int toolkitArgc = 1;
  QGuiApplication application(toolkitArgc, argv);
  return request.compare ? writeComparison(request, regimes) : writeReport(request, content);
}

}  // namespace
}  // namespace keldovar

int main(int argc, char** argv) {
  if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::cout << keldovar::kUsage;
    return 0;
  }
  try {
    return keldovar::run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "keldovar-pdf: internal error: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "keldovar-pdf: internal error\n";
  }
  return keldovar::kExitInternal;
}
