#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <string>

#include "core/conversion.h"

namespace huecode {
namespace {

std::u16string MixedText(std::size_t length) {
  static constexpr std::u16string_view kPieces[] = {
      u"彩色",    u"文字",     u"论坛", u"留言", u"，",   u"。",
      u"huecode", u"gradient", u" ",    u" ",    u"\r\n",
  };
  std::mt19937 random(42);
  std::u16string text;
  while (text.size() < length) {
    text += kPieces[random() % std::size(kPieces)];
  }
  text.resize(length);
  text.back() = u'尾';
  return text;
}

// Processor time rather than wall time, so that the ratios hold on a busy
// machine too.
double CpuNow() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double Seconds(const auto& work, int rounds) {
  const double begin = CpuNow();
  for (int i = 0; i < rounds; ++i) {
    benchmark::DoNotOptimize(work());
  }
  return (CpuNow() - begin) / rounds;
}

// The window's conversion of the same text, the yardstick for every option.
double DefaultSeconds(const std::u16string& text) {
  ConversionSettings settings;
  settings.text = text;
  return Seconds([&] { return GenerateCode(settings); }, 5);
}

enum Variant { kDefault, kOklab, kMerge, kOklabMerge };

void BM_StyledConversion(benchmark::State& state) {
  StyledSettings settings;
  settings.text = MixedText(1000000);
  const auto variant = static_cast<Variant>(state.range(0));
  if (variant == kOklab || variant == kOklabMerge) {
    settings.gradient.space = ColourSpace::Oklab;
  }
  settings.merge = variant == kMerge || variant == kOklabMerge;
  const double baseline = DefaultSeconds(settings.text);
  const double begin = CpuNow();
  for (auto _ : state) {
    benchmark::DoNotOptimize(GenerateStyledCode(settings));
  }
  const double seconds = (CpuNow() - begin) / static_cast<double>(state.iterations());
  state.counters["x_default"] = seconds / baseline;
}
BENCHMARK(BM_StyledConversion)
    ->ArgName("default0_oklab1_merge2_both3")
    ->DenseRange(kDefault, kOklabMerge)
    ->Unit(benchmark::kMillisecond);

void BM_FitToStepSeven(benchmark::State& state) {
  StyledSettings settings;
  settings.text = MixedText(100000);
  const StyledText text(settings);
  const std::int64_t limit = text.stats(7).outputCharacters;
  const double baseline = DefaultSeconds(settings.text);
  std::int32_t chosen = 0;
  const double begin = CpuNow();
  for (auto _ : state) {
    // Segmenting the text is part of what --fit costs, so it is timed too.
    const StyledText fresh(settings);
    chosen = FitStep(fresh, limit).step.value_or(0);
    benchmark::DoNotOptimize(chosen);
  }
  const double seconds = (CpuNow() - begin) / static_cast<double>(state.iterations());
  state.counters["step"] = chosen;
  state.counters["x_one_conversion"] = seconds / baseline;
}
BENCHMARK(BM_FitToStepSeven)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace huecode
