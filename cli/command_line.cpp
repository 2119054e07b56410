// Running keldovar-cli's commands as its command line asks.
#include "cli/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <system_error>

#include "app/stand_file.h"
#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/compare_command.h"
#include "cli/input.h"
#include "cli/inventory.h"
#include "cli/optimize.h"
#include "cli/output.h"
#include "cli/pdf_export.h"
#include "cli/sensitivity_command.h"
#include "document/settings.h"
#include "script/script.h"

namespace keldovar::cli {
namespace {

constexpr std::size_t kStreamChunk = 4096;

// --pdf, when given: 0 or kExitFailedStep.
int writePdf(const RunOptions& o, const DocumentContent& content, const std::string& title,
             std::ostream& err) {
  if (!o.pdf) return 0;
  PdfRequest request{*o.pdf, title, o.page ? *o.page : localePaper(), o.units};
  return exportPdf(content, request, err);
}

int report(const RunOptions& o, const std::string& input, std::ostream& out, std::ostream& err) {
  DocumentContent content = builtInDocument();
  StandFileResult opened = openStandFile(input, content);
  if (!opened.ok()) {
    err << "keldovar-cli: " << input << ": " << opened.message << "\n";
    return kExitFailedStep;
  }
  bool showFinancial = o.showFinancial && content.options.showFinancial;
  CarbonOptions carbon = carbonOptionsOf(content);
  carbon.show = o.showCarbon;
  int status = writeReport(
      out, err, renderReport(o.format, content, {}, showFinancial, o.currentStep, carbon, o.units));
  if (!o.pdf) return status;
  content.options.showFinancial = showFinancial;  // the PDF shows what the text shows
  return std::max(status, writePdf(o, content, documentTitle(input), err));
}

// A directory, FIFO or device named on the command line is refused before anything runs.
std::optional<std::string> refusedFile(const CommandLine& line) {
  if (line.action == CommandLine::Action::Run) return refusedRunFile(line.run);
  if (auto refused = refusedInput(line.standFile)) return refused;
  if (!line.run.pdf) return std::nullopt;
  if (auto refused = refusedOutput(*line.run.pdf, "--pdf")) return refused;
  return checkDistinctFiles({{"the stand file", line.standFile}}, {{"--pdf", *line.run.pdf}});
}

}  // namespace

int runCli(const std::vector<std::string>& args, const InputReader& standardInput,
           std::ostream& out, std::ostream& err) {
  CommandLine line = readCommandLine(args, [](const char* name) { return std::getenv(name); });
  switch (line.action) {
    case CommandLine::Action::Print:
      return writeReport(out, err, line.text);
    case CommandLine::Action::UsageError:
      err << "keldovar-cli: " << line.text << "\n" << usage();
      return kExitUsage;
    case CommandLine::Action::Optimize:
      return runOptimize(line.optimize, out, err);
    case CommandLine::Action::Sensitivity:
      return runSensitivity(line.standFile, line.values, standardInput, out, err);
    case CommandLine::Action::Risk:
      return runRisk(line.standFile, line.values, standardInput, out, err);
    case CommandLine::Action::Inventory:
      return runInventory(args, line.inventory, out, err);
    case CommandLine::Action::Compare:
      return runCompare(line.compare, standardInput, out, err);
    case CommandLine::Action::Run:
    case CommandLine::Action::Report:
      break;
  }
  if (auto refused = refusedFile(line)) {
    err << "keldovar-cli: " << *refused << "\n";
    return kExitUsage;
  }
  if (line.action == CommandLine::Action::Run) return runScripts(line.run, standardInput, out, err);
  return report(line.run, line.standFile, out, err);
}

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  InputReader fromStream = [&in](std::size_t limit, std::vector<std::uint8_t>& bytes) {
    char chunk[kStreamChunk];
    while (bytes.size() < limit && in) {
      in.read(chunk, static_cast<std::streamsize>(std::min(sizeof chunk, limit - bytes.size())));
      bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    return in.bad() ? EIO : 0;
  };
  return runCli(args, fromStream, out, err);
}

}  // namespace keldovar::cli
