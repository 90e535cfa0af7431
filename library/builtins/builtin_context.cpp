#include "library/builtins/builtin_context.h"

#include <chrono>
#include <ctime>

#include "library/builtins/date_time.h"

namespace lum {

BuiltinContext::BuiltinContext() : locale(ScriptLocale::Default(CodePage())) {}

BuiltinContext::BuiltinContext(const CodePage& page, Random& random)
    : locale(ScriptLocale::Default(page)), codePage_(&page), random_(&random) {}

double SystemNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm& t = local;
  const int64_t days = DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  const double time = ((t.tm_hour * 60.0 + t.tm_min) * 60.0 + t.tm_sec) * 1000.0 + static_cast<double>(ms);
  return static_cast<double>(days) + time / 86400000.0;
}

bool BuiltinContext::SelectLocale(std::string_view name) {
  std::optional<ScriptLocale> named = ScriptLocale::Named(name, codePage());
  if (!named) return false;
  locale = std::move(*named);
  return true;
}

}  // namespace lum
