// The paper the locale asks for, and the title a file name gives.
#include "view/print_defaults.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace keldovar {
namespace {

// Where Letter is the paper in the shops; everywhere else prints on A4.
constexpr std::string_view kLetterTerritories[] = {"US", "CA", "MX", "PH", "PR", "CL", "CO", "VE"};

const char* firstSet(const LocaleVariables& locale) {
  for (const char* name : {locale.all, locale.paper, locale.lang}) {
    if (name != nullptr && *name != '\0') return name;
  }
  return nullptr;
}

}  // namespace

Paper paperForLocale(const LocaleVariables& locale) {
  const char* name = firstSet(locale);
  if (name == nullptr) return Paper::Letter;
  std::string_view text(name);
  std::size_t underscore = text.find('_');
  if (underscore == std::string_view::npos) return Paper::Letter;
  std::string_view territory = text.substr(underscore + 1);
  territory = territory.substr(0, territory.find_first_of(".@"));
  if (territory.empty()) return Paper::Letter;
  bool letter = std::find(std::begin(kLetterTerritories), std::end(kLetterTerritories),
                          territory) != std::end(kLetterTerritories);
  return letter ? Paper::Letter : Paper::A4;
}

Paper localePaper() {
  return paperForLocale({std::getenv("LC_ALL"), std::getenv("LC_PAPER"), std::getenv("LANG")});
}

std::optional<Paper> parsePaper(std::string_view word) {
  if (word == "letter") return Paper::Letter;
  if (word == "a4") return Paper::A4;
  return std::nullopt;
}

const char* paperName(Paper paper) {
  return paper == Paper::A4 ? "a4" : "letter";
}

std::string documentTitle(const std::string& path) {
  if (path.empty() || path == "-") return "Untitled";
  std::string stem = std::filesystem::path(path).stem().string();
  return stem.empty() ? std::string("Untitled") : stem;
}

}  // namespace keldovar
