// keldovar-cli --pdf end to end: the real programs, the PDF read back with Poppler's tools.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/cli/cli_outcome.h"
#include "view/print_defaults.h"

namespace keldovar::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = KELDOVAR_SOURCE_DIR;
const std::string kClock = "2026-12-07 10:00:00";

struct Folder {
  Folder() { fs::create_directories(dir); }
  ~Folder() { fs::remove_all(dir); }
  std::string operator/(const std::string& name) const { return (dir / name).string(); }
  const fs::path dir =
      fs::temp_directory_path() / ("keldovar-pdf-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

// A shell command's exit status and what it printed on standard output.
Outcome capture(const std::string& command) {
  Outcome r;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) r.out.append(chunk, n);
    int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  return r;
}

// keldovar-cli as a process, under `environment` (VAR=value words, or "env -u VAR").
Outcome process(const std::string& environment, const std::string& arguments) {
  std::string err = fs::temp_directory_path() / ("keldovar-pdf-err-" + std::to_string(::getpid()));
  Outcome r = capture(environment + " '" + KELDOVAR_CLI + "' " + arguments + " 2>" + err);
  r.err = capture("cat " + err).out;
  fs::remove(err);
  return r;
}

std::string pdfField(const std::string& pdf, const std::string& field) {
  std::smatch found;
  std::string info = capture("pdfinfo '" + pdf + "'").out;
  std::regex line(field + ":\\s+([^\\n]*)");
  return std::regex_search(info, found, line) ? found[1].str() : "";
}

std::vector<std::string> pdfPages(const std::string& pdf) {
  std::vector<std::string> pages;
  std::stringstream text(capture("pdftotext -raw '" + pdf + "' -").out);
  for (std::string page; std::getline(text, page, '\f');) pages.push_back(page);
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos) {
    pages.pop_back();
  }
  return pages;
}

// A stand file with the worked example's six tables, and the text report it prints.
class PdfExport : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!KELDOVAR_PDF_BUILT) GTEST_SKIP() << "keldovar-pdf is built only with the desktop program";
    if (capture("command -v pdfinfo pdftotext").status != 0) GTEST_SKIP() << "no poppler-utils";
    std::string script = (kSource / "examples" / "thinned-stand.kdr").string();
    ASSERT_EQ(cli({"run", script, "--clock", kClock, "--out", stand}).status, 0);
    text = cli({"report", stand}).out;
  }
  Folder folder;
  const std::string stand = folder / "Stand 7.kdv";
  std::string text;
};

TEST_F(PdfExport, ReportWritesEveryPageWithItsFooterBesideTheText) {
  std::string pdf = folder / "report.pdf";
  Outcome r = process("LC_ALL=C.UTF-8", "report '" + stand + "' --pdf '" + pdf + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, text);
  EXPECT_EQ(pdfField(pdf, "Title"), "Stand 7");
  EXPECT_EQ(pdfField(pdf, "Page size"), "612 x 792 pts (letter)");
  std::vector<std::string> pages = pdfPages(pdf);
  ASSERT_GE(pages.size(), 2U);
  EXPECT_EQ(pdfField(pdf, "Pages"), std::to_string(pages.size()));
  for (std::size_t n = 1; n <= pages.size(); ++n) {
    std::regex footer("Stand 7\\s+page\\s+" + std::to_string(n) + "\\s*$");
    EXPECT_TRUE(std::regex_search(pages[n - 1], footer)) << pages[n - 1];
  }
  EXPECT_NE(pages[0].find("STAND SUMMARY"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.dir), fs::directory_iterator()), 2);
}

TEST_F(PdfExport, PaperFromPageOrLocaleAndTitleFromTheSavedFile) {
  std::string pdf = folder / "a4.pdf";
  std::string script =
      (kSource / "examples" / "thinned-stand.kdr").string() + " --clock '" + kClock + "'";
  const std::pair<std::string, std::string> runs[] = {
      {"LC_ALL=C.UTF-8", "report '" + stand + "' --page a4"},
      {"env -u LC_ALL LANG=C.UTF-8 LC_PAPER=de_DE.UTF-8", "report '" + stand + "'"},
      {"LC_ALL=C.UTF-8", "run " + script + " --out '" + (folder / "run.kdv") + "' --page a4"},
  };
  for (const auto& [environment, arguments] : runs) {
    Outcome r = process(environment, arguments + " --pdf " + pdf);
    EXPECT_EQ(r.status, 0) << arguments << r.err;
    EXPECT_EQ(r.out, text) << arguments;
    EXPECT_TRUE(pdfField(pdf, "Page size").ends_with("pts (A4)")) << arguments;
  }
  EXPECT_EQ(pdfField(pdf, "Title"), "run");
  Outcome untitled = process("", "run " + script + " --pdf " + pdf + " --page letter");
  EXPECT_EQ(untitled.status, 0) << untitled.err;
  EXPECT_EQ(pdfField(pdf, "Title"), "Untitled");
  EXPECT_EQ(pdfField(pdf, "Page size"), "612 x 792 pts (letter)");
  // Names the toolkit would take for its own options, given to keldovar-pdf as the title.
  for (const char* name : {"-platform", "-platformpluginpath", "-style"}) {
    std::string odd = folder / (std::string(name) + ".kdv");
    fs::copy_file(stand, odd);
    Outcome r = process("", "report '" + odd + "' --pdf " + pdf);
    EXPECT_EQ(r.status, 0) << name << r.err;
    EXPECT_EQ(pdfField(pdf, "Title"), name);
  }
  Outcome legal = cli({"report", stand, "--pdf", pdf, "--page", "legal"});
  EXPECT_EQ(legal.status, kExitUsage);
  EXPECT_NE(legal.err.find("--page takes letter or a4, not 'legal'"), std::string::npos);
}

TEST_F(PdfExport, AMissingOrFailingWriterIsReportedAfterTheReport) {
  std::string pdf = folder / "report.pdf";
  // One that exits without reading: the pipe's broken end must not end keldovar-cli.
  Outcome failing = process("KELDOVAR_PDF=/bin/false", "report '" + stand + "' --pdf " + pdf);
  EXPECT_EQ(failing.status, kExitFailedStep);
  EXPECT_EQ(failing.out, text);
  EXPECT_EQ(failing.err, "keldovar-cli: cannot write the PDF " + pdf +
                             ": /bin/false failed with exit status 1\n");

  Outcome r =
      process("KELDOVAR_PDF=/nonexistent/keldovar-pdf", "report '" + stand + "' --pdf " + pdf);
  EXPECT_EQ(r.status, kExitFailedStep);
  EXPECT_EQ(r.out, text);
  EXPECT_EQ(r.err,
            "keldovar-cli: cannot write the PDF: keldovar-pdf is not installed "
            "(/nonexistent/keldovar-pdf: No such file or directory)\n");
  EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(PdfExport, AFailedWriteLeavesNoPartialFileAndKeepsTheOldOne) {
  std::string target = folder / "taken";
  fs::create_directory(target);
  Outcome refused = process("", "report '" + stand + "' --pdf " + target);
  EXPECT_EQ(refused.status, kExitUsage);
  EXPECT_EQ(refused.err, "keldovar-cli: --pdf " + target +
                             " is not a regular file (nor a symbolic link to one)\n");
  // Straight to keldovar-pdf, past keldovar-cli's check: the write itself is refused.
  std::string writer = fs::path(KELDOVAR_CLI).parent_path() / "keldovar-pdf";
  Outcome direct = capture("'" + writer + "' '" + stand + "' " + target + " 2>&1");
  EXPECT_EQ(direct.status, kExitFailedStep);
  EXPECT_EQ(direct.out, "keldovar-pdf: cannot write the PDF " + target + ": Not a regular file\n");
  EXPECT_TRUE(fs::is_empty(target));
  fs::create_symlink(stand, folder / "link.pdf");
  Outcome itself = capture("'" + writer + "' '" + stand + "' " + (folder / "link.pdf") + " 2>&1");
  EXPECT_EQ(itself.status, kExitUsage);
  EXPECT_EQ(itself.out, "keldovar-pdf: the PDF " + (folder / "link.pdf") +
                            " is the same file as the stand file " + stand + "\n");
  fs::remove(folder / "link.pdf");

  // A document without tables prints nothing: the PDF from before stays as it was.
  std::string pdf = folder / "report.pdf";
  ASSERT_EQ(process("", "report '" + stand + "' --pdf " + pdf).status, 0);
  std::string before = capture("cat " + pdf).out;
  std::string empty = folder / "empty.kdv";
  ASSERT_EQ(cli({"run", "-", "--out", empty}, "").status, 0);
  Outcome nothing = process("", "report " + empty + " --pdf " + pdf);
  EXPECT_EQ(nothing.status, kExitFailedStep);
  EXPECT_TRUE(nothing.err.starts_with("keldovar-pdf: the report has no tables: no PDF written\n"))
      << nothing.err;
  EXPECT_EQ(capture("cat " + pdf).out, before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.dir), fs::directory_iterator()), 4);
}

TEST_F(PdfExport, CompareWritesTheTableThenTheChartsAsTheWriterDrawsStandFiles) {
  const std::string names[] = {"plantation-thin-harvest", "thinned-stand",
                               "unthinned-thinomatic-fertilize"};
  std::string scripts, stands;
  for (const std::string& name : names) {
    std::string script = (kSource / "examples" / (name + ".kdr")).string();
    ASSERT_EQ(cli({"run", script, "--clock", kClock, "--out", folder / (name + ".kdv")}).status, 0);
    scripts += " '" + script + "'";
    stands += " '" + (folder / (name + ".kdv")) + "'";
  }
  std::string pdf = folder / "regimes.pdf";
  Outcome r = process("LC_ALL=C.UTF-8", "compare" + scripts + " --pdf " + pdf + " --page a4");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, process("", "compare" + scripts).out);
  EXPECT_EQ(pdfField(pdf, "Title"), "Compare Regimes");
  EXPECT_EQ(pdfField(pdf, "Page size"), "842 x 595 pts (A4)");
  std::vector<std::string> pages = pdfPages(pdf);
  ASSERT_EQ(pages.size(), 2U);
  EXPECT_TRUE(std::regex_search(pages[0], std::regex("NPV sawtimber\\+pulpwood \\(\\$/ac\\) "
                                                     "456\\.64 474\\.02 976\\.46\\*")))
      << pages[0];
  for (const char* title : {"Standing basal area", "Standing tons by product",
                            "Present value of the cash", "Age (years)", names[2].c_str()}) {
    EXPECT_NE(pages[1].find(title), std::string::npos) << title;
  }
  // keldovar-pdf reads the saved files as it reads keldovar-cli's stream: the same pages.
  std::string writer = fs::path(KELDOVAR_CLI).parent_path() / "keldovar-pdf";
  std::string direct = folder / "direct.pdf";
  Outcome files = capture("'" + writer + "' --compare --page a4" + stands + " " + direct + " 2>&1");
  EXPECT_EQ(files.status, 0) << files.out;
  EXPECT_EQ(pdfPages(direct), pages);

  // Refused before anything is written: the PDF over an input; a document without a harvest.
  Outcome over =
      process("", "compare" + stands + " --pdf" + stands.substr(0, stands.find("' ") + 1));
  EXPECT_EQ(over.status, kExitUsage);
  EXPECT_NE(over.err.find("would write over"), std::string::npos) << over.err;
  std::string empty = folder / "empty.kdv";
  ASSERT_EQ(cli({"run", "-", "--out", empty}, "").status, 0);
  Outcome unharvested = capture("'" + writer + "' --compare " + empty + " " + direct + " 2>&1");
  EXPECT_EQ(unharvested.status, kExitFailedStep);
  EXPECT_EQ(unharvested.out, "keldovar-pdf: " + empty + ": the document holds no harvest\n");
  EXPECT_EQ(pdfPages(direct), pages);
}

TEST(PaperForLocale, LetterInTheAmericasAndWithoutALocaleElseA4) {
  const std::pair<LocaleVariables, Paper> cases[] = {
      {{}, Paper::Letter},
      {{"C", nullptr, nullptr}, Paper::Letter},
      {{"C.UTF-8", nullptr, nullptr}, Paper::Letter},
      {{nullptr, nullptr, "en_US.UTF-8"}, Paper::Letter},
      {{nullptr, nullptr, "fr_CA"}, Paper::Letter},
      {{nullptr, nullptr, "es_MX.UTF-8@euro"}, Paper::Letter},
      {{nullptr, nullptr, "en_GB.UTF-8"}, Paper::A4},
      {{nullptr, "de_DE.UTF-8", "en_US.UTF-8"}, Paper::A4},      // LC_PAPER before LANG
      {{"en_US.UTF-8", "de_DE.UTF-8", nullptr}, Paper::Letter},  // LC_ALL before both
      {{"", "de_DE@euro", "en_US"}, Paper::A4},                  // an empty LC_ALL is unset
  };
  for (const auto& [locale, paper] : cases) {
    EXPECT_EQ(paperForLocale(locale), paper)
        << (locale.all ? locale.all : "-") << " " << (locale.paper ? locale.paper : "-") << " "
        << (locale.lang ? locale.lang : "-");
  }
  EXPECT_EQ(documentTitle("/a/b/Stand 7.kdv"), "Stand 7");
  EXPECT_EQ(documentTitle("-"), "Untitled");
}

}  // namespace
}  // namespace keldovar::cli
