// What a printout takes when nobody chose: the paper from the user's locale, the title from the
// document's file name. Shared by keldovar-cli and keldovar-pdf so that both agree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldovar {

enum class Paper { Letter, A4 };

// The environment's locale variables, in the order the C library consults them for paper.
struct LocaleVariables {
  const char* all = nullptr;    // LC_ALL
  const char* paper = nullptr;  // LC_PAPER
  const char* lang = nullptr;   // LANG
};

// The first non-empty of LC_ALL, LC_PAPER and LANG names the locale. Its territory (the "TT" of
// "ll_TT.codeset@modifier") picks A4 unless it is one of the countries that use Letter (US, CA,
// MX, PH, PR, CL, CO, VE); no locale, "C", "POSIX" or a locale without a territory keep Letter.
Paper paperForLocale(const LocaleVariables& locale);

// The same for this process's environment.
Paper localePaper();

// "letter" or "a4", as --page takes them; nothing for any other word.
std::optional<Paper> parsePaper(std::string_view word);
const char* paperName(Paper paper);

// The title of the document in `path`: its file name without the extension; "Untitled" for
// standard input ("-") or no file.
std::string documentTitle(const std::string& path);

}  // namespace keldovar
