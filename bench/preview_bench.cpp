#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <string>

#include "preview/previews.h"
#include "render/picture_styles.h"
#include "render/picture_surface.h"

namespace huecode {
namespace {

// Mixed Chinese and ASCII, the kind of text the preview is made for.
std::u16string Text(std::size_t length) {
  static const std::u16string_view kPieces[] = {u"彩色", u"文字", u"huecode",
                                                u" ",    u"\r\n", u"论坛留言"};
  std::u16string text;
  for (std::size_t i = 0; text.size() < length; ++i) {
    text += kPieces[i % std::size(kPieces)];
  }
  text.resize(length);
  text.front() = u'开';
  text.back() = u'尾';
  return text;
}

void BM_EffectPreview(benchmark::State& state) {
  PictureSurface surface(Picture1Style());
  const ConversionSettings settings{Text(static_cast<std::size_t>(state.range(0))), u"1"};
  for (auto _ : state) {
    const StyledText text(settings);
    DrawEffectPreview(surface, text, text.step());
    benchmark::DoNotOptimize(surface.image().constBits());
  }
  state.SetLabel(std::to_string(state.range(0)) + " characters");
}
BENCHMARK(BM_EffectPreview)->Arg(500)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_GradientBar(benchmark::State& state) {
  PictureSurface surface(Picture2Style());
  surface.Scale(0, 0, 255, 10);
  for (auto _ : state) {
    DrawGradientBar(surface, GradientStops{{{255, 0, 255}, {0, 255, 0}}});
    benchmark::DoNotOptimize(surface.image().constBits());
  }
}
BENCHMARK(BM_GradientBar)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace huecode

int main(int argc, char** argv) {
  // Fonts need a GUI application; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
