#include <gtest/gtest.h>

#include "text/date_time.h"
#include "text/locale_settings.h"

namespace quennix {
namespace {

constexpr const char* kPattern = "mmmm dd, yyyy, h:nn:ss AM/PM";

LocalDateTime at(int year, int month, int day, int hour, int minute, int second) {
  return LocalDateTime{year, month, day, hour, minute, second};
}

TEST(FormatDateTime, WritesTheStampPattern) {
  LocaleSettings plain;
  LocaleSettings dotted;
  dotted.timeSeparator = '.';
  LocaleSettings none;
  none.timeSeparator = '\0';
  const struct {
    LocalDateTime moment;
    const LocaleSettings* locale;
    const char* text;
    // clang-format off
  } rows[] = {
      {at(2024, 3, 5, 0, 7, 9),     &plain,  "March 05, 2024, 12:07:09 AM"},
      {at(2025, 1, 31, 11, 59, 59), &plain,  "January 31, 2025, 11:59:59 AM"},
      {at(2025, 7, 1, 12, 0, 0),    &plain,  "July 01, 2025, 12:00:00 PM"},
      {at(2024, 12, 25, 13, 45, 0), &plain,  "December 25, 2024, 1:45:00 PM"},
      {at(2024, 12, 25, 23, 5, 7),  &plain,  "December 25, 2024, 11:05:07 PM"},
      {at(2024, 5, 9, 9, 0, 0),     &plain,  "May 09, 2024, 9:00:00 AM"},
      {at(999, 5, 9, 9, 0, 0),      &plain,  "May 09, 0999, 9:00:00 AM"},
      {at(12345, 5, 9, 9, 0, 0),    &plain,  "May 09, 12345, 9:00:00 AM"},
      {at(2024, 3, 5, 0, 7, 9),     &dotted, "March 05, 2024, 12.07.09 AM"},
      {at(2024, 3, 5, 0, 7, 9),     &none,   "March 05, 2024, 120709 AM"},
  };
  // clang-format on
  for (const auto& row : rows) EXPECT_EQ(formatDateTime(kPattern, row.moment, *row.locale), row.text);
}

TEST(FormatDateTime, AmPmKeepsThePatternsLettersAndTheTextIsBounded) {
  LocaleSettings locale;
  EXPECT_EQ(formatDateTime("h am/pm", at(2024, 1, 1, 0, 0, 0), locale), "12 am");
  EXPECT_EQ(formatDateTime("h am/pm", at(2024, 1, 1, 12, 0, 0), locale), "12 pm");
  locale.longMonthNames[0] = std::string(300, 'x');
  EXPECT_EQ(formatDateTime(kPattern, at(2024, 1, 1, 0, 0, 0), locale), std::string(256, 'x'));
}

TEST(LocaleSettings, PicksEachItemOrItsDefault) {
  struct Row {
    const char* what;
    bool hasDecimal;
    const char* decimal;
    bool hasTime;
    const char* timeFormat;
    char expectedDecimal;
    char expectedTime;
  };
  // clang-format off
  const Row rows[] = {
      {"C locale",          true,  ".",  true,  "%H:%M:%S",   '.',  ':'},
      {"decimal comma, %T", true,  ",",  true,  "%T",         ',',  ':'},
      {"dotted time",       true,  ",",  true,  "%H.%M.%S",   ',',  '.'},
      {"%R",                true,  ".",  true,  "%R",         '.',  ':'},
      {"%r",                true,  ".",  true,  "%r",         '.',  '-'},
      {"12-hour, padded",   true,  ".",  true,  "%l.%M.%S %p", '.', '.'},
      {"letter h",          true,  ".",  true,  "%Hh%M",      '.',  'h'},
      {"nothing between",   true,  "",   true,  "%H%M%S",     '\0', '\0'},
      {"two bytes",         true,  "\xC2\xB7", true, "%H::%M", '.', ':'},
      {"no hour",           true,  ".",  true,  "%M:%S",      '.',  ':'},
      {"hour, no minute",   true,  ".",  true,  "%H:%S",      '.',  ':'},
      {"nothing supplied",  false, "",   false, "",           '.',  ':'},
  };
  // clang-format on
  for (const Row& row : rows) {
    LocaleValues values;
    values.hasDecimalPoint = row.hasDecimal;
    values.decimalPoint = row.decimal;
    values.hasTimeFormat = row.hasTime;
    values.timeFormat = row.timeFormat;
    values.timeFormatAmPm = "%I-%M-%S %p";
    LocaleSettings settings = localeSettingsFrom(values);
    EXPECT_EQ(settings.decimalSeparator, row.expectedDecimal) << row.what;
    EXPECT_EQ(settings.timeSeparator, row.expectedTime) << row.what;
  }
}

TEST(LocaleSettings, TakesMonthNamesOneByOne) {
  LocaleValues values;
  values.monthNames = {"janvier",     "",          "mars",    "avril",    "mai", "juin", "juillet",
                       "ao\xC3\xBBt", "septembre", "octobre", "novembre", ""};
  LocaleSettings settings = localeSettingsFrom(values);
  EXPECT_EQ(settings.longMonthNames[0], "janvier");
  EXPECT_EQ(settings.longMonthNames[1], "February");
  EXPECT_EQ(settings.longMonthNames[7], "ao\xC3\xBBt");
  EXPECT_EQ(settings.longMonthNames[11], "December");
  EXPECT_EQ(formatDateTime(kPattern, at(2025, 8, 1, 14, 3, 0), settings), "ao\xC3\xBBt 01, 2025, 2:03:00 PM");
}

}  // namespace
}  // namespace quennix
