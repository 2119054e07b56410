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
                                       std::string& messages) {
  std::string text;
  if (auto reason = readScriptText(name, standardInput, text)) {
    messages += "keldovar-cli: cannot read the script " + name + ": " + *reason + "\n";
    return std::nullopt;
  }
  ParsedScript script = parseScript(text);
  if (!script.failed()) return script;
  for (const SyntaxError& e : script.errors) {
    messages += name + ":" + std::to_string(e.line) + ": " + e.message + "\n";
  }
  if (script.unlistedErrors > 0) {
    messages +=
        name + ": " + std::to_string(script.unlistedErrors) + " more syntax errors not listed\n";
  }
  return std::nullopt;
}

// Runs every command (up to the first failure unless --keep-going); 0 or kExitFailedStep.
int runCommands(const RunOptions& o, const std::string& name, const ParsedScript& script,
                Runner& runner, std::string& messages) {
  int status = 0;
  std::size_t reported = 0;
  for (const Command& command : script.commands) {
    bool ok = runner.run(command);
    for (; reported < runner.messages().size(); ++reported) {
      messages += messageLine(name, runner.messages()[reported]) + "\n";
    }
    if (const char* reason = runner.unspokenReason()) {
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

// The document's JSON on one line, the script's name first. The JSON writer's line breaks and
// indents are all outside strings (a string's own line ends are written as \n), so each break
// with its indent becomes one blank, or nothing inside the brackets.
std::string jsonLine(const std::string& script, const std::string& json) {
  std::string line = "{\"script\": " + jsonString(script) + ", ";
  for (std::size_t i = json.find_first_not_of(" \n", json.find('{') + 1); i < json.size(); ++i) {
    if (json[i] != '\n') {
      line += json[i];
      continue;
    }
    std::size_t next = json.find_first_not_of(' ', i + 1);
    if (next == std::string::npos) break;
    char after = json[next];
    char before = line.back();
    if (before != '[' && before != '{' && after != ']' && after != '}') line += ' ';
    i = next - 1;
  }
  return line + "\n";
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
    case OutputFormat::Json:
      r.report = jsonLine(script, report);
      break;
    case OutputFormat::Csv:
      csvRows(script, report, r);
      break;
  }
}

// Runs one script in a new document on an engine of its own: an engine shared with earlier
// documents would hand their leftovers (history records past the count, report lines) to the
// stand file of this one.
ScriptReport runScript(const RunOptions& o, const std::string& script, const Clock& clock,
                       const InputReader& standardInput, std::mutex& saving,
                       const DocumentContent* start) {
  ScriptReport r;
  std::optional<ParsedScript> parsed = loadScript(script, standardInput, r.messages);
  if (!parsed) {
    r.status = kExitUsage;
    return r;
  }
  ViewOptions view = builtInDefaults().options;
  view.showFinancial = o.showFinancial;
  view.showAllTables = !o.currentStep;
  Runner runner(clock, view);
  if (start != nullptr) runner.startFrom(*start);
  r.status = runCommands(o, script, *parsed, runner, r.messages);
  r.ran = true;
  const DocumentContent& content = runner.document().content();
  CarbonOptions carbon = carbonOptionsOf(content);
  carbon.show = o.showCarbon;
  std::string report =
      renderReport(o.format, content, runner.messages(), o.showFinancial, o.currentStep, carbon);
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
    PdfRequest request{*o.pdf, documentTitle(o.out ? *o.out : ""),
                       o.page ? *o.page : localePaper()};
    r.status = std::max(r.status, exportPdf(content, request, pdfErrors));
    r.saveError += pdfErrors.str();
  }
  return r;
}

}  // namespace

std::optional<DocumentContent> scriptDocument(const std::string& name,
                                              const InputReader& standardInput,
                                              std::string& messages, int& status) {
  std::optional<ParsedScript> parsed = loadScript(name, standardInput, messages);
  if (!parsed) {
    status = kExitUsage;
    return std::nullopt;
  }
  SystemClock clock;
  Runner runner(clock, builtInDefaults().options);
  status = runCommands(RunOptions{}, name, *parsed, runner, messages);
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
      std::string text = o_.format == OutputFormat::Text && anyReport_ ? "\n" : "";
      if (heading) text += r.heading;
      write(text + r.report);
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

  void write(const std::string& text) {
    if (outFailed_) return;
    int status = writeReport(out_, err_, text);
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
        r = runScript(o_, o_.scripts[index], clock_, standardInput_, saving_, start_);
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
  if (!o.outDir) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_directory(*o.outDir, error)) {
    return "--out-dir " + *o.outDir + " is not a folder";
  }
  for (const std::string& script : o.scripts) {
    if (auto refused = refusedOutput(*savePath(o, script), "--out-dir")) return refused;
  }
  return std::nullopt;
}

int runScripts(const RunOptions& o, const InputReader& standardInput, std::ostream& out,
               std::ostream& err) {
  SystemClock systemClock;
  std::optional<FixedClock> fixedClock;
  if (o.clock) fixedClock.emplace(*o.clock);
  const Clock& clock = fixedClock ? static_cast<const Clock&>(*fixedClock) : systemClock;
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
    for (const std::string& script : o.scripts) {
      printer.print(runScript(o, script, clock, standardInput, saving, first));
    }
    return printer.status();
  }
  ParallelRun run(o, clock, standardInput, first, jobs);
  for (std::size_t i = 0; i < o.scripts.size(); ++i) printer.print(run.take(i));
  return printer.status();
}

}  // namespace keldovar::cli
