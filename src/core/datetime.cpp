#include "core/datetime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "core/error.h"
#include "core/numeric.h"

namespace zavrik {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day number of 1899-12-30 counted from 0001-01-01 (day 1).
constexpr int64_t kDelta = 693594;
constexpr double kMinValue = -693593;      // 0001-01-01
constexpr double kMaxValue = 2958466;      // 10000-01-01, exclusive

// Day number since 0001-01-01 (day 1 is 0001-01-01).
int64_t DayNumber(int year, int month, int day) {
  static constexpr int kCumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const int64_t y = year - 1;
  int64_t n = y * 365 + y / 4 - y / 100 + y / 400 + kCumulative[month - 1] + day;
  if (month > 2 && IsLeapYear(year)) ++n;
  return n;
}

DateParts DateFromDayNumber(int64_t n) {
  // n counts from 1 at 0001-01-01; work with 0-based days.
  int64_t d = n - 1;
  const int64_t c400 = d / 146097;
  d %= 146097;
  int64_t c100 = d / 36524;
  if (c100 == 4) c100 = 3;
  d -= c100 * 36524;
  const int64_t c4 = d / 1461;
  d %= 1461;
  int64_t c1 = d / 365;
  if (c1 == 4) c1 = 3;
  d -= c1 * 365;
  DateParts p;
  p.year = static_cast<int>(c400 * 400 + c100 * 100 + c4 * 4 + c1 + 1);
  p.month = 1;
  while (d >= DaysInMonth(p.year, p.month)) d -= DaysInMonth(p.year, p.month++);
  p.day = static_cast<int>(d + 1);
  return p;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, double& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  result = static_cast<double>(DayNumber(year, month, day) - kDelta);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return false;
  }
  const int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
  result = static_cast<double>(ms) / kMsPerDay;
  return true;
}

double EncodeDate(int year, int month, int day) {
  double result = 0;
  if (!TryEncodeDate(year, month, day, result)) throw Error(u"Invalid argument to date encode");
  return result;
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  double result = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, result)) {
    throw Error(u"Invalid argument to time encode");
  }
  return result;
}

double ComposeDateTime(double date, double time) {
  return date < 0 ? date - time : date + time;
}

void DecodeDateTime(double value, DateParts& date, TimeParts& time) {
  if (!(value > kMinValue - 1 && value < kMaxValue)) {
    throw Error(u"Invalid argument to date decode");
  }
  int64_t day = static_cast<int64_t>(std::trunc(value));
  int64_t ms = static_cast<int64_t>(RoundHalfEven(std::fabs(value - std::trunc(value)) * kMsPerDay));
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    ++day;
  }
  const int64_t n = day + kDelta;
  if (n < 1 || n > DayNumber(9999, 12, 31)) throw Error(u"Invalid argument to date decode");
  date = DateFromDayNumber(n);
  time.hour = static_cast<int>(ms / 3600000);
  time.minute = static_cast<int>(ms / 60000 % 60);
  time.second = static_cast<int>(ms / 1000 % 60);
  time.millisecond = static_cast<int>(ms % 1000);
}

DateParts DecodeDate(double value) {
  DateParts date;
  TimeParts time;
  DecodeDateTime(value, date, time);
  return date;
}

TimeParts DecodeTime(double value) {
  DateParts date;
  TimeParts time;
  DecodeDateTime(value, date, time);
  return time;
}

double CurrentDateTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return ComposeDateTime(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms));
}

int DayOfWeek(double value) {
  const DateParts d = DecodeDate(value);
  // Day 1 (0001-01-01) was a Monday.
  return static_cast<int>(DayNumber(d.year, d.month, d.day) % 7) + 1;
}

}  // namespace zavrik
