#include <gtest/gtest.h>

#include <cmath>

#include "core/datetime.h"
#include "core/datetime_format.h"
#include "core/datetime_parse.h"
#include "value_test_support.h"

namespace zavrik {
namespace {

using testing::ErrorOf;
using testing::PlainSettings;
using testing::Utf8;

const double kSunday = EncodeDate(2024, 1, 7);
const double kMoment = kSunday + EncodeTime(13, 5, 9, 7);

std::string Fmt(const char16_t* format, double value = kMoment) {
  return Utf8(FormatDateTime(format, value));
}

TEST(DateTime, EncodeDecodeAndCalendar) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(kSunday, 45298);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  const DateParts d = DecodeDate(kMoment);
  EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, 20240107);
  const TimeParts t = DecodeTime(kMoment);
  EXPECT_EQ(t.hour * 10000000 + t.minute * 100000 + t.second * 1000 + t.millisecond, 130509007);
  const DateParts last = DecodeDate(EncodeDate(9999, 12, 31));
  EXPECT_EQ(last.year * 10000 + last.month * 100 + last.day, 99991231);
  const DateParts leap = DecodeDate(EncodeDate(2000, 2, 29));
  EXPECT_EQ(leap.month * 100 + leap.day, 229);
  EXPECT_EQ(DayOfWeek(kSunday), 1);
  EXPECT_EQ(DayOfWeek(kSunday + 6.9), 7);
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  EXPECT_EQ(ErrorOf([] { EncodeDate(2023, 2, 29); }), "Invalid argument to date encode");
  EXPECT_EQ(ErrorOf([] { EncodeDate(0, 1, 1); }), "Invalid argument to date encode");
  EXPECT_EQ(ErrorOf([] { EncodeTime(24, 0, 0, 0); }), "Invalid argument to time encode");
  EXPECT_GE(DecodeDate(CurrentDateTime()).year, 2024);
}

TEST(DateTime, NegativeValuesRoundingAndRange) {
  // Before 1899-12-30 the fraction still counts forwards: -1.25 is 1899-12-29 06:00.
  const DateParts d = DecodeDate(-1.25);
  EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, 18991229);
  EXPECT_EQ(DecodeTime(-1.25).hour, 6);
  EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
  // A time that rounds up to midnight moves to the next day.
  const double almost = kSunday + 0.9999999999;
  EXPECT_EQ(DecodeDate(almost).day, 8);
  EXPECT_EQ(DecodeTime(almost).hour, 0);
  EXPECT_EQ(ErrorOf([] { DecodeDate(1e10); }), "Invalid argument to date decode");
  EXPECT_EQ(ErrorOf([] { DecodeDate(std::nan("")); }), "Invalid argument to date decode");
  EXPECT_EQ(ErrorOf([] { FormatDateTime(u"dd", -1e9); }), "Invalid argument to date decode");
}

TEST(FormatDateTime, RussianPictures) {
  EXPECT_EQ(Fmt(u"dd.mm.yyyy"), "07.01.2024");
  EXPECT_EQ(Fmt(u"d.m.yy"), "7.1.24");
  EXPECT_EQ(Fmt(u"d mmmm yyyy"), "7 Январь 2024");
  EXPECT_EQ(Fmt(u"ddd, dddd, mmm"), "Вс, воскресенье, янв");
  EXPECT_EQ(Fmt(u"hh:nn:ss"), "13:05:09");
  EXPECT_EQ(Fmt(u"h:mm"), "13:05");  // m right after an hour means minutes
  EXPECT_EQ(Fmt(u"hh:mm am/pm"), "01:05 pm");
  EXPECT_EQ(Fmt(u"h AM/PM", kSunday), "12 AM");
  EXPECT_EQ(Fmt(u"h a/p"), "1 p");
  EXPECT_EQ(Fmt(u"s.z.zzz"), "9.7.007");
  EXPECT_EQ(Fmt(u"c"), "07.01.2024 13:05:09");
  EXPECT_EQ(Fmt(u"", kSunday), "07.01.2024");
  EXPECT_EQ(Fmt(u"ddddd"), "07.01.2024");
  EXPECT_EQ(Fmt(u"dddddd"), "7 Январь 2024 г.");
  EXPECT_EQ(Fmt(u"t|tt"), "13:05|13:05:09");
  EXPECT_EQ(Fmt(u"dd/mm hh:nn"), "07.01 13:05");  // "/" is the date separator
  EXPECT_EQ(Utf8(FormatDateTime(u"dd/mm", kMoment, PlainSettings())), "07/01");
  EXPECT_EQ(Fmt(u"\"d = \"d 'y'"), "d = 7 y");
  EXPECT_EQ(Utf8(DateToStr(kMoment)), "07.01.2024");
  EXPECT_EQ(Utf8(TimeToStr(kMoment)), "13:05:09");
  EXPECT_EQ(Utf8(DateTimeToStr(kMoment)), "07.01.2024 13:05:09");
  EXPECT_EQ(Utf8(DateTimeToStr(0.5)), "30.12.1899 12:00:00");
}

TEST(FormatDateTime, NumbersArePaddedToTheirWidth) {
  EXPECT_EQ(Fmt(u"yyyy-mm-dd", EncodeDate(5, 3, 4)), "0005-03-04");
  EXPECT_EQ(Fmt(u"yy|yyyy", EncodeDate(2005, 11, 30)), "05|2005");
  EXPECT_EQ(Fmt(u"h:n:s|hh:nn:ss", kSunday), "0:0:0|00:00:00");
  EXPECT_EQ(Fmt(u"zzz|z", kSunday + EncodeTime(23, 59, 58, 999)), "999|999");
  EXPECT_EQ(Utf8(DateTimeToStr(EncodeDate(9999, 12, 31) + EncodeTime(1, 2, 3, 0))), "31.12.9999 1:02:03");
}

TEST(ParseDateTime, RussianTexts) {
  EXPECT_EQ(StrToDateTime(u"07.01.2024 13:05:09"), kSunday + EncodeTime(13, 5, 9, 0));
  EXPECT_EQ(StrToDateTime(u" 07.01.2024 "), kSunday);
  EXPECT_EQ(StrToDateTime(u"13:05"), EncodeTime(13, 5, 0, 0));
  EXPECT_EQ(StrToDateTime(u"7.1.2024 1:05:09 PM"), kSunday + EncodeTime(13, 5, 9, 0));
  EXPECT_EQ(StrToDate(u"07.01.24"), kSunday);
  EXPECT_EQ(StrToTime(u"13:05:09.007"), EncodeTime(13, 5, 9, 7));
  EXPECT_EQ(StrToTime(u"12:00 AM"), 0);
  EXPECT_EQ(StrToDate(u"7/1/2024", PlainSettings()), kSunday);
  EXPECT_EQ(ErrorOf([] { StrToDate(u"31.02.2024"); }), "'31.02.2024' is not a valid date");
  EXPECT_EQ(ErrorOf([] { StrToTime(u"25:00"); }), "'25:00' is not a valid time");
  EXPECT_EQ(ErrorOf([] { StrToDateTime(u"07.01.2024x"); }),
            "'07.01.2024x' is not a valid date and time");
  for (const char16_t* bad : {u"", u"7", u"07.01.202413:05", u"07.01.2024 13", u"1.2.3.4",
                              u"13:05 XM", u"99999.1.1"}) {
    EXPECT_EQ(ParseDateTime(bad), std::nullopt) << Utf8(bad);
  }
  // A round trip through the text form.
  EXPECT_EQ(StrToDateTime(DateTimeToStr(kSunday + 0.75)), kSunday + 0.75);
}

}  // namespace
}  // namespace zavrik
