// The local clock behind the report time stamps, injectable so that report text is reproducible.
#pragma once

#include <array>

namespace keldovar {

struct LocalTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
  int weekday = 6;  // 0 = Sunday

  bool operator==(const LocalTime&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
};

class SystemClock final : public Clock {
 public:
  LocalTime now() const override;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime time) : time_(time) {}
  LocalTime now() const override { return time_; }

 private:
  LocalTime time_;
};

// Day of the week (0 = Sunday) of a Gregorian date.
int weekdayOf(int year, int month, int day);

// The report time stamp: "Www Mmm dd hh:mm:ss" on a 12-hour clock and its "AM"/"PM" mark.
struct TimeStamp {
  std::array<char, 20> text{};
  const char* suffix = "AM";
};
TimeStamp makeTimeStamp(const LocalTime& time);

}  // namespace keldovar
