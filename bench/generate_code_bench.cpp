#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "core/conversion.h"
#include "core/strip_markup.h"

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

template <typename Work>
double BestSeconds(int repetitions, Work&& work) {
  double best = 1e9;
  for (int k = 0; k < repetitions; ++k) {
    const auto begin = std::chrono::steady_clock::now();
    work();
    benchmark::ClobberMemory();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
  }
  return best;
}

// The floor for writing as much as the output: a memcpy into a buffer that is
// already mapped, and a copy into a new string, which like the output has to
// fault in fresh pages once it is too large for the allocator to keep. glibc
// hands blocks over 32 MB back to the system on every free, so the output at
// step 1 pays those faults each time; running with GLIBC_TUNABLES=
// glibc.malloc.mmap_threshold=200000000:glibc.malloc.trim_threshold=400000000
// shows the cost without them.
struct Baselines {
  double warmCopy;
  double freshCopy;
};

Baselines MeasureBaselines(std::size_t units) {
  const std::u16string from(units, u'x');
  std::u16string to(units, u'\0');
  return {BestSeconds(20,
                      [&] {
                        std::memcpy(to.data(), from.data(), units * sizeof(char16_t));
                        benchmark::DoNotOptimize(to.data());
                      }),
          BestSeconds(20, [&] {
            std::u16string copy(from);
            benchmark::DoNotOptimize(copy.data());
          })};
}

void SetRate(benchmark::State& state, std::size_t units) {
  state.counters["out_units/s"] =
      benchmark::Counter(static_cast<double>(units), benchmark::Counter::kIsIterationInvariantRate);
}

// The ratios compare best times, which a busy machine disturbs least.
void BM_GenerateCode(benchmark::State& state) {
  const ConversionSettings settings = Settings(static_cast<int>(state.range(0)));
  const std::size_t units = GenerateCode(settings).size();
  const Baselines baselines = MeasureBaselines(units);
  double best = 1e9;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(GenerateCode(settings));
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
  }
  SetRate(state, units);
  state.counters["out_units"] = static_cast<double>(units);
  state.counters["x_memcpy"] = best / baselines.warmCopy;
  state.counters["x_new_copy"] = best / baselines.freshCopy;
}
BENCHMARK(BM_GenerateCode)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_MemcpyBaseline(benchmark::State& state) {
  const std::size_t units = GenerateCode(Settings(static_cast<int>(state.range(0)))).size();
  const std::u16string from(units, u'x');
  std::u16string to(units, u'\0');
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), units * sizeof(char16_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  SetRate(state, units);
}
BENCHMARK(BM_MemcpyBaseline)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_NewCopyBaseline(benchmark::State& state) {
  const std::size_t units = GenerateCode(Settings(static_cast<int>(state.range(0)))).size();
  const std::u16string from(units, u'x');
  for (auto _ : state) {
    std::u16string copy(from);
    benchmark::DoNotOptimize(copy.data());
  }
  SetRate(state, units);
}
BENCHMARK(BM_NewCopyBaseline)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// Reading the markup back against writing it, for the dialect found from the
// text and for the one given. The goal is x_write within 2.
void BM_StripMarkup(benchmark::State& state) {
  const ConversionSettings settings = Settings(static_cast<int>(state.range(0)));
  const std::u16string markup = GenerateCode(settings);
  const double write = BestSeconds(5, [&] { benchmark::DoNotOptimize(GenerateCode(settings)); });
  const MarkupTemplate given = settings.markup;
  const bool detect = state.range(1) == 0;
  double best = 1e9;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    const Stripped stripped = StripMarkup(markup, detect ? nullptr : &given);
    benchmark::DoNotOptimize(stripped.text);
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
    if (!stripped.text) {
      state.SkipWithError("the markup could not be read back");
      break;
    }
  }
  SetRate(state, markup.size());
  state.counters["in_units"] = static_cast<double>(markup.size());
  state.counters["x_write"] = best / write;
}
BENCHMARK(BM_StripMarkup)
    ->ArgsProduct({{1, 3}, {0, 1}})
    ->ArgNames({"step", "given"})
    ->Unit(benchmark::kMillisecond);

// The same text at step 1 with a gradient per line there and back (0), and
// one colour per word (1), against the window's conversion of it.
void BM_GenerateShapes(benchmark::State& state) {
  StyledSettings settings;
  settings.text = MixedText();
  settings.perLine = state.range(0) == 0;
  settings.gradient.mirror = state.range(0) == 0;
  settings.by = state.range(0) == 1 ? Segmentation::Words : Segmentation::Characters;
  const ConversionSettings window = Settings(1);
  const double windowBest = BestSeconds(5, [&] { benchmark::DoNotOptimize(GenerateCode(window)); });
  double best = 1e9;
  std::size_t units = 0;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    const std::u16string markup = GenerateStyledCode(settings);
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
    units = markup.size();
  }
  SetRate(state, units);
  state.counters["out_units"] = static_cast<double>(units);
  state.counters["x_window"] = best / windowBest;
}
BENCHMARK(BM_GenerateShapes)
    ->ArgName("perline_mirror0_word1")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace huecode
