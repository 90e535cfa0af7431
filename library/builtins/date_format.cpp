#include "library/builtins/date_format.h"

#include <cstdio>

#include "library/builtins/date_time.h"

namespace lum {

namespace {

char UpperAsciiChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool StartsNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (UpperAsciiChar(text[at + i]) != UpperAsciiChar(word[i])) return false;
  }
  return true;
}

// Locale formats name other formats ("c" is the short date and the long
// time); this bounds that nesting even for a badly made locale.
constexpr int kMaxNesting = 3;

class DateTimeWriter {
 public:
  DateTimeWriter(const ScriptLocale& locale, const DateTimeParts& parts)
      : locale_(locale), p_(parts) {}

  void Write(std::string_view pattern, int depth) {
    if (depth > kMaxNesting) return;
    size_t i = 0;
    char last = 0;
    while (i < pattern.size()) {
      const char starter = pattern[i];
      char token = UpperAsciiChar(starter);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && last == 'H') token = 'N';
        last = token;
      }
      switch (token) {
        case 'Y': i = Year(pattern, i); break;
        case 'M': i = Month(pattern, i); break;
        case 'D': i = Day(pattern, i, depth); break;
        case 'H': i = Hour(pattern, i); break;
        case 'N': i = Number(pattern, i, p_.time.minute, 2); break;
        case 'S': i = Number(pattern, i, p_.time.second, 2); break;
        case 'Z': i = Number(pattern, i, p_.time.millisecond, 3); break;
        case 'T': {
          const size_t count = Run(pattern, i);
          Write(count == 1 ? locale_.shortTimeFormat : locale_.longTimeFormat, depth + 1);
          i += count;
          break;
        }
        case 'C':
          Write(locale_.shortDateFormat, depth + 1);
          if (p_.time.hour || p_.time.minute || p_.time.second || p_.time.millisecond) {
            out_ += ' ';
            Write(locale_.longTimeFormat, depth + 1);
          }
          ++i;
          break;
        case 'A': i = AmPm(pattern, i); break;
        case '/': out_ += locale_.dateSeparator; ++i; break;
        case ':': out_ += locale_.timeSeparator; ++i; break;
        case '\'':
        case '"': {
          const size_t close = pattern.find(starter, i + 1);
          const size_t end = close == std::string_view::npos ? pattern.size() : close;
          out_.append(pattern.substr(i + 1, end - i - 1));
          i = close == std::string_view::npos ? pattern.size() : close + 1;
          break;
        }
        default: out_ += starter; ++i; break;
      }
    }
  }

  std::string Take() { return std::move(out_); }

 private:
  // Length of the run of the same letter (either case) starting at `at`.
  static size_t Run(std::string_view pattern, size_t at) {
    size_t end = at + 1;
    while (end < pattern.size() && UpperAsciiChar(pattern[end]) == UpperAsciiChar(pattern[at])) ++end;
    return end - at;
  }

  void Digits(int value, int minWidth) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", minWidth, value);
    out_ += buffer;
  }

  size_t Number(std::string_view pattern, size_t at, int value, int fullWidth) {
    const size_t count = Run(pattern, at);
    Digits(value, count == 1 ? 1 : fullWidth);
    return at + count;
  }

  size_t Year(std::string_view pattern, size_t at) {
    const size_t count = Run(pattern, at);
    if (count <= 2) Digits(p_.date.year % 100, 2);
    else Digits(p_.date.year, 4);
    return at + count;
  }

  size_t Month(std::string_view pattern, size_t at) {
    const size_t count = Run(pattern, at);
    const int m = p_.date.month;
    if (count <= 2) Digits(m, static_cast<int>(count));
    else out_ += count == 3 ? locale_.shortMonthNames[m - 1] : locale_.longMonthNames[m - 1];
    return at + count;
  }

  size_t Day(std::string_view pattern, size_t at, int depth) {
    const size_t count = Run(pattern, at);
    const int dow = p_.dayOfWeek - 1;
    switch (count) {
      case 1: case 2: Digits(p_.date.day, static_cast<int>(count)); break;
      case 3: out_ += locale_.shortDayNames[dow]; break;
      case 4: out_ += locale_.longDayNames[dow]; break;
      case 5: Write(locale_.shortDateFormat, depth + 1); break;
      default: Write(locale_.longDateFormat, depth + 1); break;
    }
    return at + count;
  }

  // The hour is on the 12-hour clock when an am/pm marker follows before
  // the next hour letter; markers inside quoted text do not count.
  static bool TwelveHourAhead(std::string_view pattern, size_t from) {
    bool quoted = false;
    for (size_t i = from; i < pattern.size(); ++i) {
      const char c = pattern[i];
      if (c == '\'' || c == '"') quoted = !quoted;
      if (quoted) continue;
      if (c == 'h' || c == 'H') return false;
      if (c == 'a' || c == 'A') {
        return StartsNoCase(pattern, i, "AM/PM") || StartsNoCase(pattern, i, "A/P") ||
               StartsNoCase(pattern, i, "AMPM");
      }
    }
    return false;
  }

  size_t Hour(std::string_view pattern, size_t at) {
    const size_t count = Run(pattern, at);
    int hour = p_.time.hour;
    if (TwelveHourAhead(pattern, at + count)) {
      hour %= 12;
      if (hour == 0) hour = 12;
    }
    Digits(hour, count == 1 ? 1 : 2);
    return at + count;
  }

  size_t AmPm(std::string_view pattern, size_t at) {
    const bool afternoon = p_.time.hour >= 12;
    if (StartsNoCase(pattern, at, "AM/PM")) {
      out_.append(pattern.substr(afternoon ? at + 3 : at, 2));
      return at + 5;
    }
    if (StartsNoCase(pattern, at, "A/P")) {
      out_ += pattern[afternoon ? at + 2 : at];
      return at + 3;
    }
    if (StartsNoCase(pattern, at, "AMPM")) {
      out_ += afternoon ? locale_.timePmString : locale_.timeAmString;
      return at + 4;
    }
    out_ += pattern[at];
    return at + 1;
  }

  const ScriptLocale& locale_;
  const DateTimeParts& p_;
  std::string out_;
};

// Cursor over text being read as a date or time.
struct Scanner {
  std::string_view text;
  size_t pos = 0;

  void SkipBlanks() {
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ') ++pos;
  }
  bool Number(int& value, int& digits) {
    SkipBlanks();
    digits = 0;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      if (digits == 9) return false;
      value = value * 10 + (text[pos] - '0');
      ++pos;
      ++digits;
    }
    return digits > 0;
  }
  bool Char(char c) {
    SkipBlanks();
    if (pos < text.size() && text[pos] == c) {
      ++pos;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    SkipBlanks();
    if (word.empty() || !StartsNoCase(text, pos, word)) return false;
    pos += word.size();
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos == text.size();
  }
};

// "MDY", "DMY" or "YMD" from the order of the letters in a date pattern.
std::string DateOrder(std::string_view pattern) {
  std::string order;
  for (char c : pattern) {
    const char u = UpperAsciiChar(c);
    if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos) order += u;
  }
  return order.size() == 3 ? order : "MDY";
}

int WindowYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

}  // namespace

std::optional<std::string> FormatDateTimeText(std::string_view pattern, double value,
                                              const ScriptLocale& locale) {
  std::optional<DateTimeParts> parts = DecodeDateTime(value);
  if (!parts) return std::nullopt;
  DateTimeWriter writer(locale, *parts);
  writer.Write(pattern.empty() ? std::string_view("c") : pattern, 0);
  return writer.Take();
}

std::optional<std::string> DateToText(double value, const ScriptLocale& locale) {
  return FormatDateTimeText(locale.shortDateFormat, value, locale);
}

std::optional<std::string> TimeToText(double value, const ScriptLocale& locale) {
  return FormatDateTimeText(locale.longTimeFormat, value, locale);
}

std::optional<double> ParseDateText(std::string_view text, const ScriptLocale& locale,
                                    int currentYear) {
  Scanner s{text};
  int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  int count = 0;
  if (!s.Number(n[0], digits[0])) return std::nullopt;
  count = 1;
  while (count < 3 && s.Char(locale.dateSeparator)) {
    if (!s.Number(n[count], digits[count])) return std::nullopt;
    ++count;
  }
  if (count < 2 || !s.AtEnd()) return std::nullopt;
  const std::string order = DateOrder(locale.shortDateFormat);
  int year = currentYear, month = 0, day = 0;
  if (count == 3) {
    for (int i = 0; i < 3; ++i) {
      if (order[i] == 'Y') year = WindowYear(n[i], digits[i]);
      else if (order[i] == 'M') month = n[i];
      else day = n[i];
    }
  } else {
    // Day and month only, in the order the pattern has them.
    const bool monthFirst = order.find('M') < order.find('D');
    month = monthFirst ? n[0] : n[1];
    day = monthFirst ? n[1] : n[0];
  }
  return EncodeDateValue(year, month, day);
}

std::optional<double> ParseTimeText(std::string_view text, const ScriptLocale& locale) {
  Scanner s{text};
  int hour = 0, minute = 0, second = 0, ms = 0, digits = 0;
  if (!s.Number(hour, digits) || !s.Char(locale.timeSeparator) || !s.Number(minute, digits)) {
    return std::nullopt;
  }
  if (s.Char(locale.timeSeparator)) {
    if (!s.Number(second, digits)) return std::nullopt;
    if (s.Char('.')) {
      if (!s.Number(ms, digits) || digits > 3) return std::nullopt;
      while (digits++ < 3) ms *= 10;
    }
  }
  int half = 0;  // 1 morning, 2 afternoon
  if (s.Word(locale.timeAmString) || s.Word("AM") || s.Word("A")) half = 1;
  else if (s.Word(locale.timePmString) || s.Word("PM") || s.Word("P")) half = 2;
  if (!s.AtEnd()) return std::nullopt;
  if (half != 0) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour %= 12;
    if (half == 2) hour += 12;
  }
  return EncodeTimeValue(hour, minute, second, ms);
}

}  // namespace lum
