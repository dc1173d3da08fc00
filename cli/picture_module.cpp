#include "cli/picture_module.h"

#include "cli/picture_output.h"

extern "C" __attribute__((visibility("default"))) void huecode_write_pictures(
    const huecode::CliOptions& options, const huecode::ConversionPlan& plan,
    std::optional<huecode::Failure>& error) {
  error = huecode::WritePictures(options, plan);
}
