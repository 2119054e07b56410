// The keldovar Python module's compiled part: the batch runner's run, report and optimize as
// Python objects, and its command line for the package's inventory functions.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/clock_option.h"
#include "cli/command_line.h"
#include "cli/inventory.h"
#include "cli/optimize.h"

namespace py = pybind11;

namespace keldovar::python {
namespace {

// What keldovar-cli printed and its exit status.
struct CliOutcome {
  int status = 0;
  std::string out;
  std::string err;
};

// Python exceptions of this kind carry the batch runner's messages.
struct RunFailure {};

// A file's name from a str or an os.PathLike.
std::string pathOf(const py::object& path) {
  return py::module_::import("os").attr("fspath")(path).cast<std::string>();
}

// The JSON text as Python objects: json.loads, as a reader of keldovar-cli's output would.
py::object loaded(const std::string& json) {
  return py::module_::import("json").attr("loads")(py::bytes(json));
}

// Text of the batch runner, its bytes above ASCII read as Latin-1 as its JSON reads them.
py::str latin1(const std::string& text) {
  return py::bytes(text).attr("decode")("latin-1");
}

py::list messageList(const std::vector<RecordedMessage>& problems) {
  py::list list;
  for (const RecordedMessage& m : problems) {
    py::dict message;
    message["line"] = m.line;
    message["caption"] = latin1(m.caption);
    message["text"] = latin1(m.text);
    message["key"] = m.key;
    list.append(message);
  }
  return list;
}

std::string withoutLineEnd(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// keldovar.Error: its text is standard error's; line, caption, text and key are those of the
// message that stopped the run (the first of the last line that spoke: a refused field before
// "Function aborted"), `messages` all of them, `result` the report of a run that stopped at a
// failed step.
py::object failure(const std::string& stderrText, int status,
                   const std::vector<RecordedMessage>& problems, py::object result) {
  py::object type = py::module_::import("keldovar._keldovar").attr("Error");
  py::object error = type(latin1(withoutLineEnd(stderrText)));
  RecordedMessage stopping;
  if (!problems.empty()) {
    stopping = *std::find_if(problems.begin(), problems.end(), [&](const RecordedMessage& m) {
      return m.line == problems.back().line;
    });
  }
  error.attr("line") = stopping.line;
  error.attr("caption") = latin1(stopping.caption);
  error.attr("text") = latin1(stopping.text);
  error.attr("key") = stopping.key;
  error.attr("messages") = messageList(problems);
  error.attr("status") = status;
  error.attr("result") = std::move(result);
  return error;
}

// The failure of a command line that did not run: its last line the program spoke, without the
// program's name, is the message (a usage error is followed by the whole usage).
py::object cliFailure(int status, const std::string& stderrText) {
  const std::string program = "keldovar-cli: ";
  std::string text = withoutLineEnd(stderrText);
  std::size_t start = 0;
  if (std::size_t spoken = text.rfind("\n" + program); spoken != std::string::npos) {
    start = spoken + 1;
  } else if (!text.starts_with(program)) {
    std::size_t lineEnd = text.rfind('\n');
    start = lineEnd == std::string::npos ? 0 : lineEnd + 1;
  }
  std::string line = text.substr(start, text.find('\n', start) - start);
  if (line.starts_with(program)) line.erase(0, program.size());
  return failure(stderrText, status, {RecordedMessage{0, "", line, ""}}, py::none());
}

[[noreturn]] void raise(const py::object& error) {
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

cli::InputReader textReader(std::string text) {
  return [text = std::move(text)](std::size_t limit, std::vector<std::uint8_t>& bytes) {
    bytes.assign(text.begin(),
                 text.begin() + static_cast<std::ptrdiff_t>(std::min(limit, text.size())));
    return 0;
  };
}

// keldovar-cli with these arguments, the interpreter free meanwhile.
CliOutcome callCli(const std::vector<std::string>& args, bool showProgress) {
  py::gil_scoped_release released;
  std::ostringstream out;
  std::ostringstream err;
  int status = 0;
  cli::CommandLine line =
      cli::readCommandLine(args, [](const char* name) { return std::getenv(name); });
  if (line.action == cli::CommandLine::Action::Inventory) {
    status = cli::runInventory(args, line.inventory, showProgress, out, err);
  } else {  // every other command, and the usage errors, as keldovar-cli answers them
    status = cli::runCli(args, textReader(""), out, err);
  }
  return {status, out.str(), err.str()};
}

// "imperial" or "metric", as --units takes it.
UnitSystem unitsOf(const std::string& word) {
  UnitSystem units = UnitSystem::Imperial;
  if (!parseUnitSystem(word, units)) {
    throw py::value_error("units takes \"imperial\" or \"metric\", not \"" + word + "\"");
  }
  return units;
}

py::object run(const py::object& script, const std::optional<std::string>& clock,
               const std::string& units) {
  cli::RunOptions options;
  options.format = cli::OutputFormat::Json;
  options.units = unitsOf(units);
  if (clock) {
    if (auto error = cli::parseClock(*clock, options.clock)) throw py::value_error(*error);
  }
  std::string name = "-";
  std::string text;
  if (py::isinstance<py::str>(script) &&
      script.cast<std::string>().find('\n') != std::string::npos) {
    text = script.cast<std::string>();
  } else {
    name = pathOf(script);
  }
  cli::ScriptOutcome outcome;
  {
    py::gil_scoped_release released;
    outcome = cli::runOneScript(options, name, textReader(std::move(text)));
  }
  if (outcome.status == 0) return loaded(outcome.report);
  raise(failure(outcome.messages, outcome.status, outcome.problems,
                outcome.ran ? loaded(outcome.report) : py::none()));
}

py::object report(const py::object& path, const std::string& units) {
  unitsOf(units);
  CliOutcome outcome =
      callCli({"report", pathOf(path), "--format", "json", "--units", units}, false);
  if (outcome.status != 0) raise(cliFailure(outcome.status, outcome.err));
  return loaded(outcome.out);
}

// "K/N" from a text or a pair.
std::string shardText(const py::object& shard) {
  if (py::isinstance<py::str>(shard)) return shard.cast<std::string>();
  auto [k, n] = shard.cast<std::pair<int, int>>();
  return std::to_string(k) + "/" + std::to_string(n);
}

py::object optimize(const py::object& space, const py::object& shard,
                    const std::optional<int>& jobs) {
  std::vector<std::string> args = {"optimize", pathOf(space), "--format", "json"};
  if (!shard.is_none()) args.insert(args.end(), {"--shard", shardText(shard)});
  if (jobs) args.insert(args.end(), {"--jobs", std::to_string(*jobs)});
  CliOutcome outcome = callCli(args, false);
  if (outcome.status != 0) raise(cliFailure(outcome.status, outcome.err));
  return loaded(outcome.out);
}

}  // namespace
}  // namespace keldovar::python

PYBIND11_MODULE(_keldovar, m) {
  using namespace keldovar::python;
  m.doc() = "KELDOVAR's batch runner in Python: the compiled part of the keldovar package.";
  py::exception<RunFailure>(m, "Error");
  m.attr("__version__") = keldovar::cli::kVersion;
  m.def("run", &run, py::arg("script"), py::arg("clock") = py::none(),
        py::arg("units") = "imperial",
        "A regime script's run as `keldovar-cli run SCRIPT --format json` gives it, as Python "
        "objects. `script` is a file (str or os.PathLike) or, when it holds a line end, the "
        "script's text. `clock` fixes the report time, \"YYYY-MM-DD HH:MM:SS\". `units` is "
        "\"imperial\" or \"metric\", as --units.");
  m.def("report", &report, py::arg("path"), py::arg("units") = "imperial",
        "A stand file's report as `keldovar-cli report FILE.kdv --format json --units UNITS` "
        "gives it.");
  m.def("optimize", &optimize, py::arg("space"), py::arg("shard") = py::none(),
        py::arg("jobs") = py::none(),
        "The best regimes of a search-space file as `keldovar-cli optimize SPACE --format json` "
        "gives them; `shard` is \"K/N\" or (K, N).");
  m.def(
      "cli",
      [](const std::vector<std::string>& args, bool progress) {
        CliOutcome outcome = callCli(args, progress);
        return py::make_tuple(outcome.status, py::bytes(outcome.out), py::bytes(outcome.err));
      },
      py::arg("args"), py::arg("progress") = false,
      "keldovar-cli with these arguments in this process: (status, stdout, stderr).");
  m.def(
      "failure", [](int status, const std::string& err) { return cliFailure(status, err); },
      py::arg("status"), py::arg("stderr"),
      "The keldovar.Error of a command line that ended with this status and standard error.");
}
