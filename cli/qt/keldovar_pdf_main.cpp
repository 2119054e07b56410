// keldovar-pdf: a stand file's printed report as a PDF, drawn on Qt's offscreen platform. It is
// a program of its own so that keldovar-cli writes PDFs without linking the toolkit.
#include <QByteArray>
#include <QGuiApplication>
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
#include "document/settings.h"
#include "view/print_defaults.h"
#include "view/qt/report_print.h"

namespace keldovar {
namespace {

constexpr const char* kUsage =
    "Usage: keldovar-pdf [--page letter|a4] [--title TITLE] FILE.kdv|- REPORT.pdf\n"
    "Writes the stand file's report (FILE.kdv, or - for standard input) as printed, with its\n"
    "footers, to REPORT.pdf. The paper is Letter, or A4 when the locale asks for it; the title\n"
    "is the stand file's name without its extension, or \"Untitled\".\n";
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInternal = 3;
constexpr std::size_t kStandFileLimit = std::size_t{16} << 20;

struct Request {
  std::string input;
  std::string output;
  std::optional<std::string> title;
  Paper paper = localePaper();
};

// The request, or the usage error's text.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Request& r) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    if (a == "--page" || a == "--title") {
      if (!hasValue) return a + " needs a value";
      const std::string& value = args[++i];
      if (a == "--title") {
        r.title = value;
      } else if (auto paper = parsePaper(value)) {
        r.paper = *paper;
      } else {
        return "--page takes letter or a4, not '" + value + "'";
      }
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option '" + a + "'";
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return std::string("a stand file and a PDF file are needed");
  r.input = files[0];
  r.output = files[1];
  return std::nullopt;
}

// The document in the stand file or on standard input, or the error's text.
std::optional<std::string> readDocument(const std::string& input, DocumentContent& content) {
  DocumentDefaults defaults = builtInDefaults();
  content.settings = defaults.settings;
  content.options = defaults.options;
  resetSnapshot(content.store.snapshot);
  if (input != "-") {
    StandFileResult opened = openStandFile(input, content);
    if (opened.ok()) return std::nullopt;
    return input + ": " + opened.message;
  }
  std::vector<std::uint8_t> bytes;
  if (int error = readStandardInput(kStandFileLimit + 1, bytes); error != 0) {
    return "cannot read standard input: " + fileErrorText(error);
  }
  if (bytes.size() > kStandFileLimit) return std::string("standard input is larger than 16 MB");
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

int writePdf(const Request& r, const DocumentContent& content) {
  QByteArray pdf;
  std::string title = r.title ? *r.title : documentTitle(r.input);
  QPageSize::PageSizeId paper = r.paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter;
  if (!writeReportPdf(content.store, content.options, title, pdf, paper)) {
    std::cerr << "keldovar-pdf: the report has no tables: no PDF written\n";
    return kExitFailed;
  }
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(pdf.constData()),
                                      static_cast<std::size_t>(pdf.size()));
  if (int error = replaceFileContents(r.output, bytes); error != 0) {
    std::cerr << "keldovar-pdf: cannot write the PDF " << r.output << ": " << fileErrorText(error)
              << "\n";
    return kExitFailed;
  }
  return 0;
}

int run(int argc, char** argv) {
  Request request;
  if (auto error = parseArgs(std::vector<std::string>(argv + 1, argv + argc), request)) {
    std::cerr << "keldovar-pdf: " << *error << "\n" << kUsage;
    return kExitUsage;
  }
  if (auto same = cli::checkDistinctFiles({{"the stand file", request.input}},
                                          {{"the PDF", request.output}})) {
    std::cerr << "keldovar-pdf: " << *same << "\n";
    return kExitUsage;
  }
  // Read before the toolkit starts, so that a writer on the other end of a pipe is never kept
  // waiting by a slow or failing start.
  DocumentContent content;
  if (auto error = readDocument(request.input, content)) {
    std::cerr << "keldovar-pdf: " << *error << "\n";
    return kExitFailed;
  }
  // Batch runs have no display; a platform the user chose is still honoured.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(toolkitMessage);
  // The toolkit sees the program's name only: it takes words such as "-platform" as its own
  // options, and a file or title may begin with one.
  int toolkitArgc = 1;
  QGuiApplication application(toolkitArgc, argv);
  return writePdf(request, content);
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
