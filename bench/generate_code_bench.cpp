#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/conversion.h"

namespace huecode {
namespace {

constexpr std::size_t kTextLength = 1000000;

// A forum post of mixed Chinese and ASCII words, with spaces and line breaks.
const std::u16string& MixedText() {
  static const std::u16string text = [] {
    static const std::u16string_view kPieces[] = {
        u"彩色", u"文字", u"论坛", u"留言", u"，", u"。",   u"huecode",      u"gradient",
        u"2024", u"a",    u" ",    u" ",    u" ",  u"\r\n", u"\u3000\u3000",
    };
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::u16string s;
    while (s.size() < kTextLength) {
      s += kPieces[pick(random)];
    }
    s.resize(kTextLength);
    s.front() = u'开';
    s.back() = u'尾';
    return s;
  }();
  return text;
}

ConversionSettings Settings(int step) {
  ConversionSettings settings;
  settings.text = MixedText();
  settings.stepText = std::u16string(1, static_cast<char16_t>(u'0' + step));
  return settings;
}

// Best of a few copies of a buffer as large as the output: the floor that
// any conversion writing that much has to pay.
double MemcpySeconds(std::size_t units) {
  std::vector<char16_t> from(units, u'x');
  std::vector<char16_t> to(units);
  double best = 1e9;
  for (int k = 0; k < 20; ++k) {
    const auto begin = std::chrono::steady_clock::now();
    std::memcpy(to.data(), from.data(), units * sizeof(char16_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
  }
  return best;
}

void BM_GenerateCode(benchmark::State& state) {
  const ConversionSettings settings = Settings(static_cast<int>(state.range(0)));
  const std::size_t units = GenerateCode(settings).size();
  const double baseline = MemcpySeconds(units);
  const auto begin = std::chrono::steady_clock::now();
  for (auto _ : state) {
    benchmark::DoNotOptimize(GenerateCode(settings));
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() /
      static_cast<double>(state.iterations());
  state.counters["out_units"] = static_cast<double>(units);
  state.counters["out_units/s"] =
      benchmark::Counter(static_cast<double>(units), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["x_memcpy"] = seconds / baseline;
}
BENCHMARK(BM_GenerateCode)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_MemcpyBaseline(benchmark::State& state) {
  const std::size_t units = GenerateCode(Settings(static_cast<int>(state.range(0)))).size();
  std::vector<char16_t> from(units, u'x');
  std::vector<char16_t> to(units);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), units * sizeof(char16_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.counters["out_units/s"] =
      benchmark::Counter(static_cast<double>(units), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MemcpyBaseline)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace huecode
