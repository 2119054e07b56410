// run --clock: the time a report is stamped with, as the user wrote it.
#include "cli/clock_option.h"

#include <algorithm>
#include <cstdio>

#include "script/script.h"

namespace keldovar::cli {
namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
constexpr int kMonths = 12;
constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kLastSecond = 59;  // no leap second: the report clock never shows one
constexpr int kClockFields = 6;

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool realTime(const LocalTime& t) {
  return t.year >= kFirstYear && t.year <= kLastYear && t.month >= 1 && t.month <= kMonths &&
         t.day >= 1 && t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 &&
         t.hour <= kLastHour && t.minute >= 0 && t.minute <= kLastMinute && t.second >= 0 &&
         t.second <= kLastSecond;
}

}  // namespace

std::optional<std::string> parseClock(const std::string& text, std::optional<LocalTime>& clock) {
  bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == ' ' || c == ':';
  });
  LocalTime t;
  char tail = 0;
  int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day,
                           &t.hour, &t.minute, &t.second, &tail);
  if (!plain || fields != kClockFields) {
    return "--clock takes \"YYYY-MM-DD HH:MM:SS\", not '" + shownWord(text) + "'";
  }
  if (!realTime(t)) {
    return "--clock takes a real date and time (years 1 to 9999, seconds 0 to 59), not '" +
           shownWord(text) + "'";
  }
  t.weekday = weekdayOf(t.year, t.month, t.day);
  clock = t;
  return std::nullopt;
}

}  // namespace keldovar::cli
