// Calendar arithmetic on date values: days since 1899-12-30, the time of day as the fraction.
// Before 1899-12-30 the value is negative while its fraction still counts forwards from midnight
// (-1.25 is 1899-12-29 06:00).
#pragma once

#include <cstdint>

namespace zavrik {

struct DateParts {
  int year = 0, month = 0, day = 0;
};

struct TimeParts {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsLeapYear(int year);
// Length of the month (1..12) of the year; 0 for an invalid month.
int DaysInMonth(int year, int month);

// False when a part is out of range (years 1..9999).
bool TryEncodeDate(int year, int month, int day, double& result);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& result);
// Fail with "Invalid argument to date encode" / "Invalid argument to time encode".
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int millisecond);
// A date plus a time of day (the time counts forwards also for negative dates).
double ComposeDateTime(double date, double time);

// Splits a value into its calendar day and time of day, the time rounded to milliseconds.
// Values outside 0001-01-01 .. 9999-12-31 (and NaN) fail with "Invalid argument to date decode".
void DecodeDateTime(double value, DateParts& date, TimeParts& time);
DateParts DecodeDate(double value);
TimeParts DecodeTime(double value);

// The current local date and time, to the millisecond.
double CurrentDateTime();

// 1 for Sunday .. 7 for Saturday.
int DayOfWeek(double value);

}  // namespace zavrik
