#include <algorithm>

#include "library/builtins/number_text.h"
#include "library/builtins/routines.h"
#include "library/builtins/text_format.h"
#include "platform/unicode_case.h"
#include "platform/wide_escape.h"

namespace lum::builtin {

namespace {

// An escape and its two code bytes are one character while wide escapes
// are on.
size_t CharacterWidth(const std::string& s, size_t at, bool wide) {
  return wide ? wideCharAt(s, at).size : 1;
}

size_t CountCharacters(const std::string& s, bool wide) {
  size_t count = 0;
  for (size_t i = 0; i < s.size(); i += CharacterWidth(s, i, wide)) ++count;
  return count;
}

size_t LastCharacterStart(const std::string& s, bool wide) {
  if (s.empty()) return 0;
  return wide ? lastWideCharStart(s) : s.size() - 1;
}

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Pascal positions: below 1 counts as 1, past the end as the end.
size_t ClampPosition(int64_t position, size_t length) {
  if (position < 1) return 0;
  return std::min(static_cast<size_t>(position - 1), length);
}

std::string ChangeCase(const std::string& s, bool wide, const CodePage& cp, bool upper) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const WideChar c = wide ? wideCharAt(s, i) : WideChar{1, static_cast<unsigned char>(s[i])};
    if (c.cutOff) {
      out.append(s, i, c.size);  // kept as it is
    } else if (c.escaped) {
      // The two code bytes are a UTF-16 unit, not letters of the code page.
      const char16_t unit = static_cast<char16_t>(c.code);
      char32_t mapped = unit;
      if (unit < 0xD800 || unit > 0xDFFF) mapped = upper ? unicodeUpper(unit) : unicodeLower(unit);
      if (mapped > 0xFFFF) mapped = unit;
      out += kWideEscapeByte;
      out += static_cast<char>(mapped & 0xFF);
      out += static_cast<char>((mapped >> 8) & 0xFF);
    } else {
      out += upper ? cp.upper(s[i]) : cp.lower(s[i]);
    }
    i += c.size;
  }
  return out;
}

bool OneText(RoutineCall& c, std::string& text) { return c.Count() == 1 && c.Text(0, text); }

}  // namespace

bool Val(RoutineCall& c) {
  std::string text;
  if (c.Count() != 3 || !c.IsVar(1) || !c.IsVar(2) || !c.Text(0, text)) return false;
  const ValScan scan = ScanValNumber(text);
  c.Write(1, ScriptValue::Real(scan.value));
  c.Write(2, ScriptValue::Integer(static_cast<int32_t>(std::min<int64_t>(scan.badPosition, INT32_MAX))));
  return true;
}

bool Char(RoutineCall& c) {
  int32_t code = 0;
  if (c.Count() != 1 || !c.Int(0, code)) return false;
  c.Return(ScriptValue::String(std::string(1, static_cast<char>(code & 0xFF))));
  return true;
}

bool IntToStr(RoutineCall& c) {
  int32_t n = 0;
  if (c.Count() != 1 || !c.Int(0, n)) return false;
  c.Return(ScriptValue::String(std::to_string(n)));
  return true;
}

bool StrToInt(RoutineCall& c) {
  std::string text;
  if (!OneText(c, text)) return false;
  c.Return(ScriptValue::Integer(ParseInt32Text(text).value_or(0)));
  return true;
}

bool FloatToStr(RoutineCall& c) {
  double v = 0;
  if (c.Count() != 1 || !c.Real(0, v)) return false;
  c.Return(ScriptValue::String(FloatText(v)));
  return true;
}

bool StrToFloat(RoutineCall& c) {
  std::string text;
  if (!OneText(c, text)) return false;
  std::optional<double> v = ParseRealText(text);
  if (!v) return c.Fail("'" + text + "' is not a valid floating point value");
  c.Return(ScriptValue::Real(*v));
  return true;
}

bool Copy(RoutineCall& c) {
  std::string s;
  int64_t index = 0, count = 0;
  if (c.Count() != 3 || !c.Text(0, s) || !c.Truncated(1, index) || !c.Truncated(2, count)) {
    return false;
  }
  const size_t from = ClampPosition(index, s.size());
  const size_t length = count < 1 ? 0 : static_cast<size_t>(count);
  c.Return(ScriptValue::String(s.substr(from, length)));
  return true;
}

bool Poss(RoutineCall& c) {
  std::string needle, haystack;
  if (c.Count() != 2 || !c.Text(0, needle) || !c.Text(1, haystack)) return false;
  const size_t at = needle.empty() ? std::string::npos : haystack.find(needle);
  c.Return(ScriptValue::Integer(at == std::string::npos ? 0 : static_cast<int32_t>(at + 1)));
  return true;
}

bool Length(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  const size_t count = CountCharacters(s, c.UnicodeOn());
  c.Return(ScriptValue::Integer(static_cast<int32_t>(std::min<size_t>(count, INT32_MAX))));
  return true;
}

bool DelLastChar(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  s.resize(LastCharacterStart(s, c.UnicodeOn()));
  c.Return(ScriptValue::String(std::move(s)));
  return true;
}

bool Insert(RoutineCall& c) {
  std::string piece, s;
  int64_t index = 0;
  if (c.Count() != 3 || !c.IsVar(1) || !c.Text(0, piece) || !c.Text(1, s) ||
      !c.Truncated(2, index)) {
    return false;
  }
  if (s.size() + piece.size() > c.MaxStringLength()) return c.Fail("String too long");
  s.insert(ClampPosition(index, s.size()), piece);
  c.Write(1, ScriptValue::String(s));
  c.Return(ScriptValue::String(std::move(s)));
  return true;
}

bool Delete(RoutineCall& c) {
  std::string s;
  int64_t index = 0, count = 0;
  if (c.Count() != 3 || !c.IsVar(0) || !c.Text(0, s) || !c.Truncated(1, index) ||
      !c.Truncated(2, count)) {
    return false;
  }
  if (index >= 1 && static_cast<uint64_t>(index) <= s.size() && count > 0) {
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
  }
  c.Write(0, ScriptValue::String(s));
  c.Return(ScriptValue::String(std::move(s)));
  return true;
}

bool Trim(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  const auto first = std::find_if_not(s.begin(), s.end(), IsTrimmed);
  const auto last = std::find_if_not(s.rbegin(), s.rend(), IsTrimmed).base();
  c.Return(ScriptValue::String(first < last ? std::string(first, last) : std::string()));
  return true;
}

bool TrimLeft(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  c.Return(ScriptValue::String(std::string(std::find_if_not(s.begin(), s.end(), IsTrimmed), s.end())));
  return true;
}

bool TrimRight(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  c.Return(ScriptValue::String(std::string(s.begin(), std::find_if_not(s.rbegin(), s.rend(), IsTrimmed).base())));
  return true;
}

bool UpperCase(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  c.Return(ScriptValue::String(ChangeCase(s, c.UnicodeOn(), c.Context().codePage(), true)));
  return true;
}

bool LowerCase(RoutineCall& c) {
  std::string s;
  if (!OneText(c, s)) return false;
  c.Return(ScriptValue::String(ChangeCase(s, c.UnicodeOn(), c.Context().codePage(), false)));
  return true;
}

bool Format(RoutineCall& c) {
  std::string format;
  if (c.Count() < 2 || !c.Text(0, format)) return false;
  std::vector<ScriptValue> args;
  for (size_t i = 1; i < c.Count(); ++i) args.push_back(c.Arg(i));
  Result<std::string> text = FormatText(format, args, c.Context().locale);
  if (!text) return c.Fail(text.error().message);
  if (text.value().size() > c.MaxStringLength()) return c.Fail("String too long");
  c.Return(ScriptValue::String(std::move(text.value())));
  return true;
}

}  // namespace lum::builtin
