// Running regime scripts: each in a document of its own, several at once on engines of their own
// (one per thread), their reports printed in the order the scripts were given.
#include "cli/batch.h"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

#include "app/safe_file.h"
#include "app/stand_file.h"
#include "cli/command_line.h"
#include "cli/from_stand.h"
#include "cli/pdf_export.h"
#include "document/settings.h"
#include "script/runner.h"
#include "script/script.h"

namespace keldovar::cli {
namespace {

// Finished reports held back per job while an earlier script still runs: enough to keep every
// job busy, few enough that a slow first script cannot make the rest pile up in memory.
constexpr std::size_t kHeldPerJob = 8;

// The stand file name of a script read from standard input.
constexpr const char* kStandardInputStem = "stdin";

// What one script leaves to print, in the order it is printed.
struct ScriptReport {
  int status = 0;
  std::string messages;   // standard error: the read, syntax and step messages
  bool ran = false;       // false after a read or syntax error: no report at all
  std::string heading;    // printed once before the first report (CSV) or above each (text)
  std::string report;     // standard output
  std::string saveError;  // standard error, after the report
  std::exception_ptr failure;
  std::vector<RecordedMessage> problems;  // `messages` one by one
};

bool several(const RunOptions& o) {
  return o.scripts.size() > 1;
}

std::string standFileName(const std::string& script) {
  if (script == "-") return std::string(kStandardInputStem) + ".kdv";
  return std::filesystem::path(script).stem().string() + ".kdv";
}

// Where the script's document is saved, if anywhere.
std::optional<std::string> savePath(const RunOptions& o, const std::string& script) {
  if (o.out) return o.out;
  if (o.outDir) return (std::filesystem::path(*o.outDir) / standFileName(script)).string();
  return std::nullopt;
}

// The script's commands, or nothing after its errors went into `messages`.
std::optional<ParsedScript> loadScript(const std::string& name, const InputReader& standardInput,
                                       std::string& messages,
                                       std::vector<RecordedMessage>& problems) {
  std::string text;
  if (auto reason = readScriptText(name, standardInput, text)) {
    problems.push_back({0, "", "cannot read the script " + name + ": " + *reason, ""});
    messages += "keldovar-cli: " + problems.back().text + "\n";
    return std::nullopt;
  }
  ParsedScript script = parseScript(text);
  if (!script.failed()) return script;
  for (const SyntaxError& e : script.errors) {
    problems.push_back({e.line, "", e.message, ""});
    messages += name + ":" + std::to_string(e.line) + ": " + e.message + "\n";
  }
  if (script.unlistedErrors > 0) {
    problems.push_back(
        {0, "", std::to_string(script.unlistedErrors) + " more syntax errors not listed", ""});
    messages += name + ": " + problems.back().text + "\n";
  }
  return std::nullopt;
}

// Runs every command (up to the first failure unless --keep-going); 0 or kExitFailedStep.
int runCommands(const RunOptions& o, const std::string& name, const ParsedScript& script,
                Runner& runner, std::string& messages, std::vector<RecordedMessage>& problems) {
  int status = 0;
  std::size_t reported = 0;
  for (const Command& command : script.commands) {
    bool ok = runner.run(command);
    for (; reported < runner.messages().size(); ++reported) {
      problems.push_back(runner.messages()[reported]);
      messages += messageLine(name, problems.back()) + "\n";
    }
    if (const char* reason = runner.unspokenReason()) {
      problems.push_back({command.line, "", reason, ""});
      messages += name + ":" + std::to_string(command.line) + ": " + reason + "\n";
    }
    if (!ok) {
      status = kExitFailedStep;
      if (!o.keepGoing) break;
    }
  }
  return status;
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Every line after the header, led by the script's name; the header led by "script".
void csvRows(const std::string& script, const std::string& csv, ScriptReport& r) {
  std::size_t end = csv.find('\n');
  r.heading = "script," + csv.substr(0, end + 1);
  std::string name = csvField(script) + ",";
  for (std::size_t at = end + 1; at < csv.size();) {
    std::size_t next = csv.find('\n', at);
    next = next == std::string::npos ? csv.size() : next + 1;
    r.report += name;
    r.report.append(csv, at, next - at);
    at = next;
  }
}

// The report as printed among several scripts' reports.
void shareReport(const RunOptions& o, const std::string& script, std::string report,
                 ScriptReport& r) {
  switch (o.format) {
    case OutputFormat::Text:
      r.heading = "==> " + script + " <==\n";
      r.report = std::move(report);
      break;
    case OutputFormat::Json:  // written as a line in the first place
      r.report = std::move(report);
      break;
    case OutputFormat::Csv:
      csvRows(script, report, r);
      break;
  }
}

// Runs one script in a new document on an engine as new: the job's runner made for its first
// script, or started over for each later one. An engine that kept an earlier document's
// leftovers (history records past the count, report lines) would hand them to the stand file of
// this one; starting over empties them without zeroing the engine's buffers again.
ScriptReport runScript(const RunOptions& o, const std::string& script, const Clock& clock,
                       const InputReader& standardInput, std::mutex& saving,
                       std::optional<Runner>& jobRunner, const DocumentContent* start) {
  ScriptReport r;
  std::optional<ParsedScript> parsed = loadScript(script, standardInput, r.messages, r.problems);
  if (!parsed) {
    r.status = kExitUsage;
    return r;
  }
  if (jobRunner) {
    jobRunner->startOver();
  } else {
    ViewOptions view = builtInDefaults().options;
    view.showFinancial = o.showFinancial;
    view.showAllTables = !o.currentStep;
    jobRunner.emplace(clock, view);
  }
  Runner& runner = *jobRunner;
  if (start != nullptr) runner.startFrom(*start);
  r.status = runCommands(o, script, *parsed, runner, r.messages, r.problems);
  r.ran = true;
  const DocumentContent& content = runner.document().content();
  CarbonOptions carbon = carbonOptionsOf(content);
  carbon.show = o.showCarbon;
  std::string report = several(o) && o.format == OutputFormat::Json
                           ? jsonLineOutput(script, content.store, runner.messages(),
                                            content.settings.financial, carbon.values, o.units)
                           : renderReport(o.format, content, runner.messages(), o.showFinancial,
                                          o.currentStep, carbon, o.units);
  if (several(o)) {
    shareReport(o, script, std::move(report), r);
  } else {
    r.report = std::move(report);
  }
  if (std::optional<std::string> path = savePath(o, script)) {
    // One save at a time: only one can have its temporary file removed on SIGINT or SIGTERM.
    std::lock_guard<std::mutex> lock(saving);
    StandFileResult saved = saveStandFile(*path, content);
    if (!saved.ok()) {
      r.saveError = "keldovar-cli: " + saved.message + "\n";
      r.status = kExitFailedStep;
    }
  }
  if (o.pdf) {
    // Its messages follow the report, as the save's do.
    std::ostringstream pdfErrors;
    PdfRequest request{*o.pdf, documentTitle(o.out ? *o.out : ""), o.page ? *o.page : localePaper(),
                       o.units};
    r.status = std::max(r.status, exportPdf(content, request, pdfErrors));
    r.saveError += pdfErrors.str();
  }
  return r;
}

}  // namespace

std::optional<DocumentContent> scriptDocument(const std::string& name,
                                              const InputReader& standardInput,
                                              std::string& messages, int& status) {
  std::vector<RecordedMessage> problems;
  std::optional<ParsedScript> parsed = loadScript(name, standardInput, messages, problems);
  if (!parsed) {
    status = kExitUsage;
    return std::nullopt;
  }
  SystemClock clock;
  Runner runner(clock, builtInDefaults().options);
  status = runCommands(RunOptions{}, name, *parsed, runner, messages, problems);
  return runner.document().content();
}

namespace {

// Prints each script's messages and report in turn and keeps the worst status.
class Printer {
 public:
  Printer(const RunOptions& o, std::ostream& out, std::ostream& err)
      : o_(o), out_(out), err_(err) {}

  void print(const ScriptReport& r) {
    if (r.failure) std::rethrow_exception(r.failure);
    err_ << r.messages;
    status_ = std::max(status_, r.status);
    if (r.ran) {
      bool heading = o_.format == OutputFormat::Text || !anyReport_;
      std::string lead = o_.format == OutputFormat::Text && anyReport_ ? "\n" : "";
      if (heading) lead += r.heading;
      write(r.report, lead);
      anyReport_ = true;
    }
    err_ << r.saveError;
  }

  int status() const { return status_; }

 private:
  const RunOptions& o_;
  std::ostream& out_;
  std::ostream& err_;
  int status_ = 0;
  bool anyReport_ = false;
  bool outFailed_ = false;  // said once; the runs and saves go on

  void write(const std::string& text, const std::string& lead) {
    if (outFailed_) return;
    int status = writeReport(out_, err_, text, lead);
    outFailed_ = status != 0;
    status_ = std::max(status_, status);
  }
};

unsigned jobCount(const RunOptions& o) {
  unsigned jobs = o.jobs != 0 ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
  jobs = std::min(jobs, kMaxJobs);
  return static_cast<unsigned>(std::min<std::size_t>(jobs, o.scripts.size()));
}

// Scripts handed out in order to the jobs; finished reports wait in a ring of slots until the
// printer takes them in order. A job starts a script only when its slot is free.
class ParallelRun {
 public:
  ParallelRun(const RunOptions& o, const Clock& clock, const InputReader& standardInput,
              const DocumentContent* start, unsigned jobs)
      : o_(o),
        clock_(clock),
        standardInput_(standardInput),
        start_(start),
        slots_(jobs * kHeldPerJob) {
    for (unsigned j = 0; j < jobs; ++j) workers_.emplace_back([this] { work(); });
  }

  ~ParallelRun() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    room_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  ParallelRun(const ParallelRun&) = delete;
  ParallelRun& operator=(const ParallelRun&) = delete;

  // The report of script `index`, once it is done; call with 0, 1, 2, ...
  ScriptReport take(std::size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    std::optional<ScriptReport>& slot = slots_[index % slots_.size()];
    done_.wait(lock, [&] { return slot.has_value(); });
    ScriptReport r = std::move(*slot);
    slot.reset();
    taken_ = index + 1;
    lock.unlock();
    room_.notify_all();
    return r;
  }

 private:
  const RunOptions& o_;
  const Clock& clock_;
  const InputReader& standardInput_;
  const DocumentContent* start_;
  std::mutex mutex_;
  std::mutex saving_;
  std::condition_variable done_;
  std::condition_variable room_;
  std::vector<std::optional<ScriptReport>> slots_;
  std::size_t next_ = 0;   // the next script to start
  std::size_t taken_ = 0;  // scripts printed so far
  bool stopping_ = false;
  std::vector<std::thread> workers_;

  void work() {
    std::optional<Runner> runner;  // this job's engine and document, for each of its scripts
    for (;;) {
      std::size_t index = 0;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [&] {
          return stopping_ || next_ >= o_.scripts.size() || next_ < taken_ + slots_.size();
        });
        if (stopping_ || next_ >= o_.scripts.size()) return;
        index = next_++;
      }
      ScriptReport r;
      try {
        r = runScript(o_, o_.scripts[index], clock_, standardInput_, saving_, runner, start_);
      } catch (...) {
        r.failure = std::current_exception();
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        slots_[index % slots_.size()] = std::move(r);
      }
      done_.notify_all();
    }
  }
};

// The time --clock fixes, or the system's.
class RunClock {
 public:
  explicit RunClock(const std::optional<LocalTime>& fixed) {
    if (fixed) fixed_.emplace(*fixed);
  }
  const Clock& clock() const { return fixed_ ? static_cast<const Clock&>(*fixed_) : system_; }

 private:
  SystemClock system_;
  std::optional<FixedClock> fixed_;
};

}  // namespace

std::optional<std::string> parseJobs(const std::string& text, unsigned& jobs) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || value < 1 || value > kMaxJobs) {
    return "--jobs takes a number from 1 to " + std::to_string(kMaxJobs) + ", not '" +
           shownWord(text) + "'";
  }
  jobs = value;
  return std::nullopt;
}

std::optional<std::string> runUsageError(const RunOptions& o) {
  if (o.out && o.outDir) return std::string("--out and --out-dir cannot be given together");
  if (o.out && several(o)) {
    return std::string("--out saves the document of one script; for several, use --out-dir");
  }
  if (o.pdf && several(o)) return std::string("--pdf prints the report of one script");
  if (std::count(o.scripts.begin(), o.scripts.end(), "-") > 1) {
    return std::string("standard input (-) can be read only once");
  }
  if (!o.outDir) return std::nullopt;
  std::map<std::string, const std::string*> saved;
  for (const std::string& script : o.scripts) {
    auto [first, added] = saved.emplace(standFileName(script), &script);
    if (!added) {
      return "--out-dir would save both " + shownWord(*first->second) + " and " +
             shownWord(script) + " as " + shownWord(first->first);
    }
  }
  return std::nullopt;
}

std::optional<std::string> refusedRunFile(const RunOptions& o) {
  for (const std::string& script : o.scripts) {
    if (auto refused = refusedInput(script)) return refused;
  }
  if (o.from) {
    FromStand from;
    parseFrom(*o.from, from);
    if (auto refused = refusedInput(from.path)) return refused;
  }
  if (o.out) {
    if (auto refused = refusedOutput(*o.out)) return refused;
  }
  if (o.pdf) {
    if (auto refused = refusedOutput(*o.pdf, "--pdf")) return refused;
  }
  std::vector<NamedFile> inputs, outputs;
  if (o.outDir) {
    std::error_code error;
    if (!std::filesystem::is_directory(*o.outDir, error)) {
      return "--out-dir " + *o.outDir + " is not a folder";
    }
    for (const std::string& script : o.scripts) {
      if (auto refused = refusedOutput(*savePath(o, script), "--out-dir")) return refused;
      outputs.push_back({"--out-dir", *savePath(o, script)});
    }
  }
  for (const std::string& script : o.scripts) inputs.push_back({"the script", script});
  if (o.out) outputs.push_back({"--out", *o.out});
  if (o.pdf) outputs.push_back({"--pdf", *o.pdf});
  return checkDistinctFiles(inputs, outputs);
}

ScriptOutcome runOneScript(const RunOptions& options, const std::string& name,
                           const InputReader& standardInput) {
  RunOptions o = options;
  o.scripts = {name};
  RunClock runClock(o.clock);
  const Clock& clock = runClock.clock();
  std::mutex saving;
  std::optional<Runner> runner;
  ScriptReport r = runScript(o, name, clock, standardInput, saving, runner, nullptr);
  return {r.status, r.ran, std::move(r.report), r.messages + r.saveError, std::move(r.problems)};
}

int runScripts(const RunOptions& o, const InputReader& standardInput, std::ostream& out,
               std::ostream& err) {
  RunClock runClock(o.clock);
  const Clock& clock = runClock.clock();
  std::optional<DocumentContent> start;
  if (o.from) {
    FromStand from;
    parseFrom(*o.from, from);
    start = startingDocument(from, !o.currentStep, err);
    if (!start) return kExitFailedStep;
    if (!o.showFinancial) start->options.showFinancial = false;
  }
  const DocumentContent* first = start ? &*start : nullptr;
  std::mutex saving;
  Printer printer(o, out, err);
  unsigned jobs = jobCount(o);
  if (jobs <= 1) {
    std::optional<Runner> runner;
    for (const std::string& script : o.scripts) {
      printer.print(runScript(o, script, clock, standardInput, saving, runner, first));
    }
    return printer.status();
  }
  ParallelRun run(o, clock, standardInput, first, jobs);
  for (std::size_t i = 0; i < o.scripts.size(); ++i) printer.print(run.take(i));
  return printer.status();
}

}  // namespace keldovar::cli
