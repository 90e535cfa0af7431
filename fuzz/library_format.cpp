// Format and FormatDateTime patterns, and dates and times read from text,
// on arbitrary input: no crash, no unbounded output.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "library/builtins/date_format.h"
#include "library/builtins/text_format.h"
#include "platform/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const lum::CodePage codePage;
  static const lum::ScriptLocale locales[] = {lum::ScriptLocale::Default(codePage),
                                              *lum::ScriptLocale::Named("ru", codePage)};
  if (size < 9) return 0;
  const lum::ScriptLocale& locale = locales[data[0] & 1];
  double when = 0;
  __builtin_memcpy(&when, data + 1, sizeof when);
  const std::string text(reinterpret_cast<const char*>(data + 9), size - 9);

  // Arguments of every kind, some taken from the input itself.
  std::vector<lum::ScriptValue> args{
      lum::ScriptValue::Integer(static_cast<int32_t>(data[1] | data[2] << 8)),
      lum::ScriptValue::Real(when),
      lum::ScriptValue::String(text.substr(0, 16)),
      lum::ScriptValue::Int64(-1),
      lum::ScriptValue::DateTime(when),
      lum::ScriptValue::Boolean(data[0] & 2),
      lum::ScriptValue(),
  };
  lum::Result<std::string> formatted = lum::FormatText(text, args, locale);
  if (formatted && formatted.value().size() > text.size() * 100000 + 1000000) __builtin_trap();

  std::optional<std::string> dated = lum::FormatDateTimeText(text, when, locale);
  if (dated && dated->size() > text.size() * 64 + 64) __builtin_trap();
  lum::ParseDateText(text, locale, 2024);
  lum::ParseTimeText(text, locale);
  return 0;
}
