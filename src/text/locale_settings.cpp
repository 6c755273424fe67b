#include "text/locale_settings.h"

namespace quennix {
namespace {

constexpr std::size_t kMaxMonthNameBytes = 255;

char pickSeparator(const std::optional<std::string>& value, char fallback) {
  if (!value || value->size() > 1) return fallback;
  return value->empty() ? '\0' : value->front();
}

}  // namespace

LocaleSettings localeSettingsFrom(const LocaleItems& items) {
  LocaleSettings settings;
  settings.decimalSeparator = pickSeparator(items.decimalSeparator, settings.decimalSeparator);
  settings.timeSeparator = pickSeparator(items.timeSeparator, settings.timeSeparator);
  for (std::size_t month = 0; month < 12; ++month) {
    const std::string& name = items.monthNames[month];
    if (!name.empty()) settings.longMonthNames[month] = name.substr(0, kMaxMonthNameBytes);
  }
  return settings;
}

LocaleSettings loadLocaleSettings(LocaleSource& source) { return localeSettingsFrom(source.localeItems()); }

}  // namespace quennix
