// Crash recovery records, file names, the choice of leftovers and the autosave schedule.
#include "app/recovery.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace keldovar {
namespace {

constexpr std::string_view kRecordHeader = "KELDOVAR recovery record 1\n";
constexpr std::size_t kVersionLimit = 64;
constexpr std::size_t kPathLimit = 4096;
constexpr std::int64_t kLargestNumber = 999999999999999;  // 15 digits

bool needsEscape(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '%';
}

std::string escapePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : path) {
    auto c = static_cast<unsigned char>(ch);
    if (needsEscape(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Only the exact escapes escapePath writes are accepted, so a record reads back to one path.
std::optional<std::string> unescapePath(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c != '%') {
      if (needsEscape(c)) return std::nullopt;
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int high = hexValue(text[i + 1]);
    int low = hexValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    auto decoded = static_cast<unsigned char>(high * 16 + low);
    if (!needsEscape(decoded)) return std::nullopt;
    out += static_cast<char>(decoded);
    i += 2;
  }
  if (out.size() > kPathLimit) return std::nullopt;
  return out;
}

std::optional<std::int64_t> readNumber(std::string_view text, std::int64_t least) {
  if (text.empty() || text.size() > 15) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  if (text.size() > 1 && text[0] == '0') return std::nullopt;
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value < least || value > kLargestNumber) return std::nullopt;
  return value;
}

// Takes the next line "key=value" off `text`.
std::optional<std::string_view> takeLine(std::string_view& text, std::string_view key) {
  std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') {
    return std::nullopt;
  }
  return line.substr(key.size() + 1);
}

bool printableVersion(std::string_view version) {
  return !version.empty() && version.size() <= kVersionLimit &&
         std::all_of(version.begin(), version.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

bool isTag(std::string_view text) {
  return !text.empty() && text.size() <= 40 && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
  });
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::optional<RecoveryName> parseCopyName(std::string_view stem) {
  std::size_t cut = stem.rfind('_');
  if (cut == std::string_view::npos || !isTag(stem.substr(0, cut))) return std::nullopt;
  auto number = readNumber(stem.substr(cut + 1), 1);
  if (!number || *number > 1000000) return std::nullopt;
  return RecoveryName{std::string(stem.substr(0, cut)), static_cast<int>(*number)};
}

}  // namespace

std::string writeRecoveryRecord(const RecoveryRecord& record) {
  std::string text(kRecordHeader);
  if (record.path.empty()) {
    text += "untitled=" + std::to_string(record.untitledNumber) + "\n";
  } else {
    text += "path=" + escapePath(record.path) + "\n";
  }
  text += "time=" + std::to_string(record.time) + "\n";
  text += "pid=" + std::to_string(record.processId) + "\n";
  text += "version=" + record.version + "\n";
  return text;
}

std::optional<RecoveryRecord> readRecoveryRecord(std::string_view text) {
  if (text.size() > kRecoveryRecordLimit || text.substr(0, kRecordHeader.size()) != kRecordHeader) {
    return std::nullopt;
  }
  text.remove_prefix(kRecordHeader.size());
  RecoveryRecord record;
  std::string_view rest = text;
  if (auto untitled = takeLine(rest, "untitled")) {
    auto number = readNumber(*untitled, 1);
    if (!number || *number > 1000000) return std::nullopt;
    record.untitledNumber = static_cast<int>(*number);
  } else {
    rest = text;
    auto path = takeLine(rest, "path");
    auto plain = path ? unescapePath(*path) : std::nullopt;
    if (!plain || plain->empty()) return std::nullopt;
    record.path = *plain;
  }
  auto time = takeLine(rest, "time");
  auto pid = takeLine(rest, "pid");
  auto version = takeLine(rest, "version");
  auto timeValue = time ? readNumber(*time, 0) : std::nullopt;
  auto pidValue = pid ? readNumber(*pid, 1) : std::nullopt;
  if (!timeValue || !pidValue || !version || !printableVersion(*version) || !rest.empty()) {
    return std::nullopt;
  }
  record.time = *timeValue;
  record.processId = *pidValue;
  record.version = std::string(*version);
  return record;
}

std::string recoveryCopyName(const RecoveryName& name) {
  return name.instance + "_" + std::to_string(name.document) + kRecoveryCopySuffix;
}

std::string recoveryRecordName(const RecoveryName& name) {
  return name.instance + "_" + std::to_string(name.document) + kRecoveryRecordSuffix;
}

std::string recoveryLockName(std::string_view instance) {
  return std::string(instance) + kRecoveryLockSuffix;
}

std::string recoveryInstanceTag(std::int64_t processId, std::int64_t startMilliseconds) {
  return "p" + std::to_string(processId) + "t" + std::to_string(startMilliseconds);
}

std::vector<RecoveryLeftovers> findRecoveryLeftovers(const std::vector<std::string>& fileNames,
                                                     std::string_view ownInstance) {
  struct Files {
    bool lock = false;
    std::map<int, int> documents;  // number -> 1 record, 2 copy, 3 both
  };
  std::map<std::string, Files> byInstance;
  for (const std::string& name : fileNames) {
    std::string_view view(name);
    if (endsWith(view, kRecoveryLockSuffix)) {
      std::string_view tag =
          view.substr(0, view.size() - std::string_view(kRecoveryLockSuffix).size());
      if (isTag(tag) && tag != ownInstance) byInstance[std::string(tag)].lock = true;
      continue;
    }
    bool record = endsWith(view, kRecoveryRecordSuffix);
    if (!record && !endsWith(view, kRecoveryCopySuffix)) continue;
    auto parsed = parseCopyName(view.substr(0, view.size() - 4));
    if (!parsed || parsed->instance == ownInstance) continue;
    byInstance[parsed->instance].documents[parsed->document] |= record ? 1 : 2;
  }
  std::vector<RecoveryLeftovers> result;
  for (const auto& [instance, files] : byInstance) {
    RecoveryLeftovers leftovers{instance, files.lock, {}, {}, {}};
    for (const auto& [document, kinds] : files.documents) {
      RecoveryName name{instance, document};
      auto& list = kinds == 3 ? leftovers.complete
                              : (kinds == 1 ? leftovers.recordOnly : leftovers.copyOnly);
      list.push_back(name);
    }
    result.push_back(std::move(leftovers));
  }
  return result;
}

bool AutosaveScheduler::take(std::int64_t now) {
  if (!pending_ || (written_ && now < lastWrite_ + interval_)) return false;
  pending_ = false;
  written_ = true;
  lastWrite_ = now;
  return true;
}

std::int64_t autosaveInterval(const char* override) {
  if (override == nullptr) return kAutosaveIntervalMs;
  auto value = readNumber(override, 1);
  return value && *value <= 60000 ? *value : kAutosaveIntervalMs;
}

}  // namespace keldovar
