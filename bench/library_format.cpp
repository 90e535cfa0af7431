// Text formatting that game scripts run every frame (score and clock texts).
#include <benchmark/benchmark.h>

#include "library/builtins/date_format.h"
#include "library/builtins/number_text.h"
#include "library/builtins/text_format.h"
#include "platform/code_page.h"

namespace {

void BM_FormatScoreLine(benchmark::State& state) {
  const lum::CodePage codePage;
  const lum::ScriptLocale locale = lum::ScriptLocale::Default(codePage);
  const std::vector<lum::ScriptValue> args{lum::ScriptValue::String("Player"),
                                           lum::ScriptValue::Integer(123456),
                                           lum::ScriptValue::Real(98.765)};
  for (auto _ : state) {
    auto text = lum::FormatText("%-10s %8d points, %5.1f%%", args, locale);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_FormatScoreLine);

void BM_FormatDateTimeClock(benchmark::State& state) {
  const lum::CodePage codePage;
  const lum::ScriptLocale locale = lum::ScriptLocale::Default(codePage);
  double when = 45657.5453;
  for (auto _ : state) {
    auto text = lum::FormatDateTimeText("dddd, mmmm d yyyy hh:nn:ss am/pm", when, locale);
    benchmark::DoNotOptimize(text);
    when += 0.0001;
  }
}
BENCHMARK(BM_FormatDateTimeClock);

void BM_FloatText(benchmark::State& state) {
  double v = 0.1;
  for (auto _ : state) {
    auto text = lum::FloatText(v);
    benchmark::DoNotOptimize(text);
    v += 1.25;
  }
}
BENCHMARK(BM_FloatText);

}  // namespace

BENCHMARK_MAIN();
