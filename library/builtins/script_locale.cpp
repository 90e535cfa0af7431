#include "library/builtins/script_locale.h"

#include <algorithm>

namespace lum {

namespace {

// Texts in UTF-8; converted into the game's code page when a locale is made.
struct LocaleText {
  std::string_view name;
  std::string_view shortDate, longDate, shortTime, longTime;
  char dateSeparator, timeSeparator;
  std::string_view am, pm;
  std::string_view currency;
  bool currencyAfter;
  std::array<std::string_view, 12> shortMonths, longMonths;
  std::array<std::string_view, 7> shortDays, longDays;
};

const LocaleText kLocales[] = {
    {"en", "m/d/yyyy", "dddd, mmmm d, yyyy", "h:nn AMPM", "h:nn:ss AMPM", '/', ':', "AM", "PM", "$", false,
     {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
     {"January", "February", "March", "April", "May", "June", "July", "August", "September",
      "October", "November", "December"},
     {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
     {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}},
    {"ru", "dd/mm/yyyy", "d mmmm yyyy 'г.'", "h:nn", "h:nn:ss", '.', ':', "", "", " р.", true,
     {"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"},
     {"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь",
      "Октябрь", "Ноябрь", "Декабрь"},
     {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"},
     {"воскресенье", "понедельник", "вторник", "среда", "четверг", "пятница", "суббота"}},
};

bool SameNameNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

ScriptLocale Build(const LocaleText& t, const CodePage& cp) {
  ScriptLocale l;
  l.name = std::string(t.name);
  l.shortDateFormat = cp.fromUtf8(t.shortDate);
  l.longDateFormat = cp.fromUtf8(t.longDate);
  l.shortTimeFormat = cp.fromUtf8(t.shortTime);
  l.longTimeFormat = cp.fromUtf8(t.longTime);
  l.dateSeparator = t.dateSeparator;
  l.timeSeparator = t.timeSeparator;
  l.timeAmString = cp.fromUtf8(t.am);
  l.timePmString = cp.fromUtf8(t.pm);
  l.currencyString = cp.fromUtf8(t.currency);
  l.currencyAfter = t.currencyAfter;
  for (size_t i = 0; i < 12; ++i) {
    l.shortMonthNames[i] = cp.fromUtf8(t.shortMonths[i]);
    l.longMonthNames[i] = cp.fromUtf8(t.longMonths[i]);
  }
  for (size_t i = 0; i < 7; ++i) {
    l.shortDayNames[i] = cp.fromUtf8(t.shortDays[i]);
    l.longDayNames[i] = cp.fromUtf8(t.longDays[i]);
  }
  return l;
}

}  // namespace

std::optional<ScriptLocale> ScriptLocale::Named(std::string_view name, const CodePage& codePage) {
  for (const LocaleText& t : kLocales) {
    if (SameNameNoCase(t.name, name)) return Build(t, codePage);
  }
  return std::nullopt;
}

ScriptLocale ScriptLocale::Default(const CodePage& codePage) {
  return Build(kLocales[0], codePage);
}

std::vector<std::string_view> ScriptLocale::BuiltInNames() {
  std::vector<std::string_view> names;
  for (const LocaleText& t : kLocales) names.push_back(t.name);
  return names;
}

}  // namespace lum
