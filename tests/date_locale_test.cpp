#include <gtest/gtest.h>

#include "platform/time_format.h"
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

TEST(LocaleSettings, TakesASeparatorOfExactlyOneByte) {
  const std::optional<std::string> none;
  struct Row {
    const char* what;
    std::optional<std::string> supplied;
    char decimal;
    char time;
  };
  // clang-format off
  const Row rows[] = {
      {"one byte",         ",",          ',',  ','},
      {"a dot",            ".",          '.',  '.'},
      {"empty",            "",           '\0', '\0'},
      {"two bytes",        "\xC2\xB7", '.',  ':'},
      {"none supplied",    none,         '.',  ':'},
  };
  // clang-format on
  for (const Row& row : rows) {
    LocaleItems items;
    items.decimalSeparator = row.supplied;
    items.timeSeparator = row.supplied;
    LocaleSettings settings = localeSettingsFrom(items);
    EXPECT_EQ(settings.decimalSeparator, row.decimal) << row.what;
    EXPECT_EQ(settings.timeSeparator, row.time) << row.what;
  }
}

TEST(TimeFormat, TheSeparatorStandsBetweenHourAndMinute) {
  const std::optional<std::string> none;
  struct Row {
    const char* format;
    std::optional<std::string> separator;
  };
  // clang-format off
  const Row rows[] = {
      {"%H:%M:%S",    ":"},
      {"%T",          ":"},
      {"%H.%M.%S",    "."},
      {"%R",          ":"},
      {"%r",          "-"},   // what %r stands for here: "%I-%M-%S %p"
      {"%l.%M.%S %p", "."},
      {"%_H:%M",      ":"},
      {"%Hh%M",       "h"},
      {"%H%M%S",      ""},
      {"%H::%M",      "::"},
      {"%M:%S",       none},  // no hour
      {"%H:%S",       none},  // an hour, but no minute after it
      {"",            none},
  };
  // clang-format on
  for (const Row& row : rows) EXPECT_EQ(hourMinuteSeparator(row.format, "%I-%M-%S %p"), row.separator) << row.format;
}

TEST(LocaleSettings, TakesMonthNamesOneByOne) {
  LocaleItems values;
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
