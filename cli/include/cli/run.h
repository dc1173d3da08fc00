#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "cli/cli_error.h"
#include "cli/options.h"
#include "core/conversion.h"

namespace huecode {

// The template or format the options ask for: --preset's, then --prefix,
// --middle, --suffix and --format. A bad format is a usage error.
Result<MarkupTemplate> MarkupOfOptions(const CliOptions& options);

// The settings of one run, decoded from the options and the input text.
Result<StyledSettings> PrepareSettings(const CliOptions& options, std::FILE* in);

// A conversion planned once, for the markup, the notes and the pictures: the
// text cut into units and the step to write it with (the one --fit chose).
class ConversionPlan {
 public:
  explicit ConversionPlan(StyledSettings settings);

  const StyledSettings& settings() const { return *m_settings; }
  const StyledText& text() const { return m_text; }
  std::int32_t step() const { return m_step; }
  void fixStep(std::int32_t step) { m_step = step; }

 private:
  // On the heap, so that the text's views of it survive moving the plan.
  std::unique_ptr<const StyledSettings> m_settings;
  StyledText m_text;
  std::int32_t m_step;
};

// The plan, with the step --fit asks for and its note for standard error.
struct PlannedConversion {
  ConversionPlan plan;
  std::string notes;
};
Result<PlannedConversion> PlanConversion(const CliOptions& options, StyledSettings settings);

struct CliStreams {
  std::FILE* in = stdin;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// Writes the pictures the options ask for; called only when they ask for one,
// before anything goes to standard output.
using PictureWriter =
    std::function<std::optional<CliError>(const CliOptions&, const ConversionPlan&)>;

// The whole program. The markup streams to standard output as it is written;
// the notes of --fit and --stats follow on standard error once it is complete.
// NO_COLOR is read from the environment. Returns the exit code.
int RunCli(std::span<const std::string> args, const CliStreams& streams,
           const PictureWriter& writePictures);

}  // namespace huecode
