// Local clock and the report time stamp.
#include "engine/clock.h"

#include <cstddef>
#include <cstdio>
#include <ctime>

namespace keldovar {

LocalTime SystemClock::now() const {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min,         tm.tm_sec,     tm.tm_wday};
}

int weekdayOf(int year, int month, int day) {
  // Sakamoto's method.
  static constexpr int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
}

TimeStamp makeTimeStamp(const LocalTime& time) {
  static constexpr const char* weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  TimeStamp stamp;
  stamp.suffix = time.hour >= 12 ? "PM" : "AM";
  int hour = time.hour;
  if (hour > 12) hour -= 12;
  if (hour == 0) hour = 12;
  int weekday = ((time.weekday % 7) + 7) % 7;
  int month = time.month >= 1 && time.month <= 12 ? time.month - 1 : 0;
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d", weekdays[weekday], months[month],
                time.day, hour, time.minute, time.second);
  for (std::size_t i = 0; i + 1 < stamp.text.size() && text[i] != '\0'; ++i)
    stamp.text[i] = text[i];
  return stamp;
}

}  // namespace keldovar
