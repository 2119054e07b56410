// keldovar-cli run: regime scripts, each as a document of its own, run on several engines at once
// and printed in the order they were given.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/input.h"
#include "cli/output.h"
#include "document/document_content.h"
#include "engine/clock.h"
#include "script/runner.h"
#include "view/print_defaults.h"

namespace keldovar::cli {

// More parallel runs than this are refused: each holds an engine and a document.
inline constexpr unsigned kMaxJobs = 256;

struct RunOptions {
  std::vector<std::string> scripts;  // `-` is standard input
  OutputFormat format = OutputFormat::Text;
  std::optional<std::string> out;     // one script's stand file
  std::optional<std::string> outDir;  // DIR/NAME.kdv for every script
  std::optional<LocalTime> clock;
  bool keepGoing = false;
  bool showFinancial = true;
  bool currentStep = false;
  bool showCarbon = false;                  // the Carbon sections in the text
  UnitSystem units = UnitSystem::Imperial;  // of every output; the stand files stay imperial
  unsigned jobs = 0;                        // 0: one per processor core
  std::optional<std::string> pdf;           // one script's report as printed
  std::optional<Paper> page;                // the PDF's paper; the locale's when not given
  std::optional<std::string> from;  // FILE.kdv[:TABLE]: every script continues that document
};

// The number of --jobs, or the usage error's text.
std::optional<std::string> parseJobs(const std::string& text, unsigned& jobs);

// What makes a run's options contradict each other: --out with several scripts, standard
// input named twice, two scripts that --out-dir would save under one name.
std::optional<std::string> runUsageError(const RunOptions& options);

// A script, --out or --out-dir that names a directory, FIFO or device where a file belongs (or
// a --out-dir that is no folder), or an output that is a script or another output: refused
// before anything runs.
std::optional<std::string> refusedRunFile(const RunOptions& options);

// The document one script makes, run as `run` runs it up to its first failed step (status 1);
// nothing after a read or syntax error (status 2). Its messages, in `run`'s words, go into
// `messages`.
std::optional<DocumentContent> scriptDocument(const std::string& name,
                                              const InputReader& standardInput,
                                              std::string& messages, int& status);

// One script run alone as `run` runs it: its exit status, its report when it ran (nothing after a
// read or syntax error), and its messages as standard error shows them and one by one (a read
// or syntax error as a message of no caption, line 0 where it has no line).
struct ScriptOutcome {
  int status = 0;
  bool ran = false;
  std::string report;
  std::string messages;
  std::vector<RecordedMessage> problems;
};
ScriptOutcome runOneScript(const RunOptions& options, const std::string& name,
                           const InputReader& standardInput);

// Runs every script and prints each one's report: a single script exactly as ever; several
// under a heading naming each (text), as one JSON object a line, or as CSV rows led by the
// script's name. Returns the worst exit status of all scripts.
int runScripts(const RunOptions& options, const InputReader& standardInput, std::ostream& out,
               std::ostream& err);

}  // namespace keldovar::cli
