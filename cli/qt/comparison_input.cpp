// Reading the regimes to compare: each document read whole, as a stand file is opened, before its
// newest harvest is summarized.
#include "cli/qt/comparison_input.h"

#include <algorithm>
#include <charconv>

#include "app/stand_file.h"
#include "document/settings.h"
#include "view/print_defaults.h"

namespace keldovar {
namespace {

// As many regimes as keldovar-cli compare takes.
constexpr std::size_t kMaxRegimes = 32;

// `where` names the document in a message: the file, or the regime of the stream.
std::optional<std::string> addRegime(const std::string& name, const std::string& where,
                                     const DocumentContent& content,
                                     std::vector<econ::ComparedRegime>& regimes) {
  if (regimes.size() >= kMaxRegimes) return std::string("at most 32 regimes can be compared");
  std::optional<econ::RegimeSummary> summary = econ::summarizeRegime(content);
  if (!summary) return where + ": the document holds no harvest";
  regimes.push_back({name, std::move(*summary)});
  return std::nullopt;
}

}  // namespace

std::optional<std::string> readComparisonStream(std::span<const std::uint8_t> bytes,
                                                std::vector<econ::ComparedRegime>& regimes) {
  const char* text = reinterpret_cast<const char*>(bytes.data());
  std::size_t at = 0;
  while (at < bytes.size()) {
    const char* lineEnd = std::find(text + at, text + bytes.size(), '\n');
    std::size_t length = 0;
    auto [afterLength, error] = std::from_chars(text + at, lineEnd, length);
    if (error != std::errc() || afterLength == lineEnd || *afterLength != ' ') {
      return std::string("the comparison's input is not LENGTH NAME lines and stand files");
    }
    std::string name(afterLength + 1, lineEnd);
    at = static_cast<std::size_t>(lineEnd - text) + (lineEnd == text + bytes.size() ? 0 : 1);
    if (length > bytes.size() - at) return name + ": the stand file is cut short";
    DocumentContent content = builtInDocument();
    StandFileResult read = readStandFile(bytes.subspan(at, length), content);
    if (!read.ok()) return name + ": " + read.message;
    if (auto refused = addRegime(name, name, content, regimes)) return refused;
    at += length;
  }
  return std::nullopt;
}

std::optional<std::string> readComparisonFile(const std::string& path,
                                              std::vector<econ::ComparedRegime>& regimes) {
  DocumentContent content = builtInDocument();
  StandFileResult opened = openStandFile(path, content);
  if (!opened.ok()) return path + ": " + opened.message;
  return addRegime(documentTitle(path), path, content, regimes);
}

}  // namespace keldovar
