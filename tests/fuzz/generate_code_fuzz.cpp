#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "tests/fuzz/fences.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  using namespace huecode::reference;
  FuzzInput input(data, size);
  ConversionSettings real;
  real.start = {input.byte(), input.byte(), input.byte()};
  real.end = {input.byte(), input.byte(), input.byte()};
  ReadStepTemplateAndText(input, real);

  ConversionSettings fenced = real;
  fenced.markup = Fenced(real.markup);

  const std::u16string out = GenerateCode(fenced);
  std::vector<WrittenChunk> written;
  const std::u16string plain = RemoveTags(out, fenced.markup, written);

  // Not a character of the text is lost, added or moved; only the outer spaces go.
  const std::u16string trimmed = TrimOuterSpaces(real.text);
  FUZZ_CHECK(plain == trimmed);

  const std::int64_t n = CharacterCount(trimmed);
  const std::int32_t step = StepLength(real.stepText, static_cast<std::int32_t>(n));
  std::vector<ReferenceChunk> expected = ReferenceChunks(trimmed, step);
  std::erase_if(expected, [](const ReferenceChunk& chunk) { return chunk.bare; });
  FUZZ_CHECK(written.size() == expected.size());
  const ColourTriple& s = real.start;
  const ColourTriple& e = real.end;
  for (std::size_t k = 0; k < written.size(); ++k) {
    FUZZ_CHECK(written[k].offset == expected[k].offset);
    FUZZ_CHECK(written[k].text == expected[k].text);
    const std::int64_t position = expected[k].position;
    FUZZ_CHECK(written[k].rgb[0] == ExactGradient(s.r, e.r, position, n));
    FUZZ_CHECK(written[k].rgb[1] == ExactGradient(s.g, e.g, position, n));
    FUZZ_CHECK(written[k].rgb[2] == ExactGradient(s.b, e.b, position, n));
  }
  const std::size_t templateLone = LoneSurrogatesOf(real.markup);
  // No chunk ends between the halves of a surrogate pair, so the only lone
  // surrogates written are those of the text and of the template.
  FUZZ_CHECK(CountLoneSurrogates(out) ==
             CountLoneSurrogates(trimmed) + written.size() * templateLone);

  // The fences only mark the template strings: without them the output is
  // exactly what the real template gives.
  FUZZ_CHECK(GenerateCode(real) == WithoutFences(out));
  return 0;
}
