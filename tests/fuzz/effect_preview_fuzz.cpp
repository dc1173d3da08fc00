#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "preview/previews.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/preview/preview_of.h"
#include "tests/preview/recording_surface.h"
#include "tests/support/reference.h"

namespace huecode::fuzz {
namespace {

using namespace huecode::reference;

constexpr std::size_t kMaxTextUnits = 40000;

// A surface that may realise another size than the 10 points asked for (0:
// exactly 10), of any height, and the colours, step and text to draw on it.
struct Scenario {
  std::uint8_t realisedEighths = 0;
  float scaleHeight = 0;
  ConversionSettings settings;

  float fontSize() const {
    return realisedEighths != 0 ? static_cast<float>(realisedEighths) / 8.0f : 10.0f;
  }
};

Scenario ReadScenario(FuzzInput& input) {
  Scenario scenario;
  scenario.realisedEighths = input.byte();
  scenario.scaleHeight = static_cast<float>(input.byte() | (input.byte() << 8));
  ConversionSettings& settings = scenario.settings;
  settings.start = {input.byte(), input.byte(), input.byte()};
  settings.end = {input.byte(), input.byte(), input.byte()};
  settings.stepText = input.units(input.byte());
  // Repeating the text reaches the rows far down the box with short inputs.
  const std::size_t repeat = 1 + input.byte();
  const std::u16string piece = input.restAsUnits();
  for (std::size_t k = 0; k < repeat && settings.text.size() + piece.size() <= kMaxTextUnits; ++k) {
    settings.text += piece;
  }
  return scenario;
}

std::int64_t RowTop(const ReferenceChunk& chunk) {
  const std::int64_t row = (chunk.position - 1) / 38;
  return row * 200;
}

// Every chunk that starts in a row above the bottom edge is printed, in
// order, in its place and colour, and nothing below it.
void CheckPrinted(const testing::RecordingSurface& surface, const Scenario& scenario) {
  const ConversionSettings& settings = scenario.settings;
  const std::u16string trimmed = TrimOuterSpaces(settings.text);
  const std::int64_t n = CharacterCount(trimmed);
  const std::int32_t step = StepLength(settings.stepText, static_cast<std::int32_t>(n));
  const std::vector<ReferenceChunk> chunks = ReferenceChunks(trimmed, step);
  std::size_t visible = 0;
  while (visible < chunks.size() &&
         static_cast<double>(RowTop(chunks[visible])) < scenario.scaleHeight) {
    ++visible;
  }
  const auto& printed = surface.printed();
  FUZZ_CHECK(printed.size() == visible);
  const ReferenceColour start{settings.start.r, settings.start.g, settings.start.b};
  const ReferenceColour end{settings.end.r, settings.end.g, settings.end.b};
  for (std::size_t k = 0; k < printed.size(); ++k) {
    const ReferenceChunk& chunk = chunks[k];
    const std::int64_t column = (chunk.position - 1) % 38 + 1;
    FUZZ_CHECK(printed[k].text == chunk.text);
    FUZZ_CHECK(printed[k].y >= 0.0f && printed[k].y < scenario.scaleHeight);
    FUZZ_CHECK(printed[k].y == static_cast<float>(RowTop(chunk)));
    const double x = std::nearbyint(static_cast<double>(scenario.fontSize()) *
                                    static_cast<double>((column - 1) * 20));
    FUZZ_CHECK(printed[k].x == static_cast<float>(x));
    FUZZ_CHECK(printed[k].colour == ReferencePacked(start, end, chunk.position, n));
  }
}

}  // namespace
}  // namespace huecode::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  FuzzInput input(data, size);
  const Scenario scenario = ReadScenario(input);
  testing::RecordingSurface surface(scenario.scaleHeight);
  if (scenario.realisedEighths != 0) {
    surface.RealiseFontSizeAs(scenario.fontSize());
  }
  test::DrawPreviewOf(surface, scenario.settings);

  // The box is cleared at 10 points before anything is printed.
  const auto& calls = surface.calls();
  FUZZ_CHECK(calls.size() >= 2);
  FUZZ_CHECK(calls[0].op == testing::Op::FontSizeWrite && calls[0].a == 10.0f);
  FUZZ_CHECK(calls[1].op == testing::Op::Cls);
  CheckPrinted(surface, scenario);
  return 0;
}
