// Running keldovar-pdf: no shell, the stand file on its standard input, its status checked.
#include "cli/pdf_export.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <span>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/stand_file.h"
#include "cli/command_line.h"

extern char** environ;

namespace keldovar::cli {
namespace {

constexpr const char* kProgram = "keldovar-pdf";

// KELDOVAR_PDF, else keldovar-pdf in this program's folder, else the bare name for a PATH search.
std::string programPath() {
  if (const char* chosen = std::getenv("KELDOVAR_PDF"); chosen != nullptr && *chosen != '\0') {
    return chosen;
  }
  char self[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) {
    std::string beside(self, static_cast<std::size_t>(length));
    beside = beside.substr(0, beside.rfind('/') + 1) + kProgram;
    if (::access(beside.c_str(), X_OK) == 0) return beside;
  }
  return kProgram;
}

// Writes all the bytes; a reader that went away gives EPIPE rather than ending this process.
int writeAll(int fd, std::span<const std::uint8_t> bytes) {
  sigset_t pipeSignal, previous, pending;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  sigpending(&pending);
  const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
  int error = 0;
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (error == EPIPE && !alreadyPending) {
    const timespec noWait{};
    sigtimedwait(&pipeSignal, nullptr, &noWait);
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return error;
}

// Starts keldovar-pdf reading from `input`, its standard output joined to standard error so that
// nothing it says mixes into the report. The process, or the error number.
int spawn(const std::string& program, const std::vector<std::string>& args, int input,
          pid_t& child) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  int error = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

// The child's exit status, or -1 after a signal ended it.
int waitFor(pid_t child) {
  int raw = 0;
  while (::waitpid(child, &raw, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// keldovar-pdf with `args`, `input` on its standard input: 0, or kExitFailedStep after saying so.
int runWriter(const std::vector<std::string>& args, const std::vector<std::uint8_t>& input,
              const std::string& path, std::ostream& err) {
  const std::string program = programPath();
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    err << "keldovar-cli: cannot write the PDF: " << std::strerror(errno) << "\n";
    return kExitFailedStep;
  }
  pid_t child = 0;
  int error = spawn(program, args, pipeEnds[0], child);
  ::close(pipeEnds[0]);
  if (error != 0) {
    ::close(pipeEnds[1]);
    err << "keldovar-cli: cannot write the PDF: " << kProgram << " is not installed (" << program
        << ": " << std::strerror(error) << ")\n";
    return kExitFailedStep;
  }
  error = writeAll(pipeEnds[1], input);
  ::close(pipeEnds[1]);
  int status = waitFor(child);
  if (status == 0 && error == 0) return 0;
  // keldovar-pdf has said why; this line names the program, for one that could not even start.
  err << "keldovar-cli: cannot write the PDF " << path << ": " << program;
  if (status < 0) {
    err << " ended abnormally\n";
  } else {
    err << " failed with exit status " << status << "\n";
  }
  return kExitFailedStep;
}

}  // namespace

namespace {

// The options before the input and the output; an imperial request's are those keldovar-pdf
// always had.
std::vector<std::string> writerOptions(const PdfRequest& request) {
  std::vector<std::string> args{"--page", paperName(request.paper), "--title", request.title};
  if (request.units == UnitSystem::Metric) args.insert(args.end(), {"--units", "metric"});
  return args;
}

}  // namespace

int exportPdf(const DocumentContent& content, const PdfRequest& request, std::ostream& err) {
  std::vector<std::string> args = writerOptions(request);
  args.insert(args.end(), {"-", request.path});
  return runWriter(args, writeStandFile(content), request.path, err);
}

int exportComparisonPdf(const std::vector<NamedDocument>& documents, const PdfRequest& request,
                        std::ostream& err) {
  std::vector<std::uint8_t> stream;
  for (const NamedDocument& d : documents) {
    std::vector<std::uint8_t> stand = writeStandFile(*d.content);
    std::string name = d.name;
    std::replace(name.begin(), name.end(), '\n', ' ');  // a line of its own
    std::string head = std::to_string(stand.size()) + " " + name + "\n";
    stream.insert(stream.end(), head.begin(), head.end());
    stream.insert(stream.end(), stand.begin(), stand.end());
  }
  std::vector<std::string> args = writerOptions(request);
  args.insert(args.begin(), "--compare");
  args.insert(args.end(), {"-", request.path});
  return runWriter(args, stream, request.path, err);
}

}  // namespace keldovar::cli
