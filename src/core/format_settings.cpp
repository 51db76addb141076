#include "core/format_settings.h"

namespace zavrik {
namespace {

FormatSettings MakeRussian() {
  FormatSettings s;
  s.decimal_separator = u',';
  s.thousand_separator = u'\u00A0';
  s.date_separator = u'.';
  s.time_separator = u':';
  s.short_date_format = u"dd.mm.yyyy";
  s.long_date_format = u"d mmmm yyyy \"г.\"";
  s.short_time_format = u"h:nn";
  s.long_time_format = u"h:nn:ss";
  s.time_am = u"AM";
  s.time_pm = u"PM";
  s.currency_string = u"₽";
  s.currency_format = 3;
  s.negative_currency_format = 8;
  s.currency_decimals = 2;
  s.long_month_names = {u"Январь", u"Февраль", u"Март",     u"Апрель",  u"Май",    u"Июнь",
                        u"Июль",   u"Август",  u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
  s.short_month_names = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                         u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
  s.long_day_names = {u"воскресенье", u"понедельник", u"вторник", u"среда",
                      u"четверг",     u"пятница",     u"суббота"};
  s.short_day_names = {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"};
  return s;
}

}  // namespace

const FormatSettings& RussianFormatSettings() {
  static const FormatSettings settings = MakeRussian();
  return settings;
}

}  // namespace zavrik
