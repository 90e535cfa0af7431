#pragma once
// Date and time conventions that the date routines of scripts follow. The
// locale is chosen by name, never taken from the machine, so that a game
// formats dates the same way everywhere. Names are stored in the game's
// 8-bit code page because scripts compare and print them as game strings.
//
// Patterns use the FormatDateTime letters: d, m, y, h, n, s, z, am/pm,
// '/' for the date separator and ':' for the time separator.
//
//   "en" (the default): 12/31/2024, 1:05:09 PM, long date "Tuesday, December 31, 2024"
//   "ru":                31.12.2024, 13:05:09, long date "31 Декабрь 2024 г."
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace lum {

struct ScriptLocale {
  std::string name;
  std::string shortDateFormat;
  std::string longDateFormat;
  std::string shortTimeFormat;
  std::string longTimeFormat;
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string timeAmString;
  std::string timePmString;
  // Money (Format's %m): the symbol and whether it follows the number.
  std::string currencyString;
  bool currencyAfter = false;
  // January first; Sunday first.
  std::array<std::string, 12> shortMonthNames;
  std::array<std::string, 12> longMonthNames;
  std::array<std::string, 7> shortDayNames;
  std::array<std::string, 7> longDayNames;

  static constexpr std::string_view kDefaultName = "en";

  // A built-in locale by name (case-insensitive), its names converted into
  // the code page; nothing for an unknown name.
  static std::optional<ScriptLocale> Named(std::string_view name, const CodePage& codePage);
  static ScriptLocale Default(const CodePage& codePage);
  static std::vector<std::string_view> BuiltInNames();
};

}  // namespace lum
