#pragma once

// What the C interface's files share; nothing here is installed.

#include <functional>
#include <string>

#include "core/conversion.h"
#include "huecode/huecode.h"
#include "options/conversion_options.h"

namespace huecode::library {

// A failure of the C interface as the caller receives it.
struct Error {
  huecode_status code = HUECODE_OK;
  std::string message;
};

// A usage failure is an option's error, any other the input's.
Error FromFailure(Failure failure);

// The options struct read as the command line would take it; only the
// options that read markup back when markupOnly.
Result<ConversionOptions, Error> ReadOptions(const huecode_options* options, bool markupOnly);

// Each text and flag field of huecode_options by its command-line name, with
// where it lies in the struct (--via, an array with its count, is not among
// them), for a wrapper that fills the struct by name.
using OptionFieldVisitor =
    std::function<void(std::string_view name, std::size_t offset, bool flag)>;
void ForEachOptionField(const OptionFieldVisitor& each);

// Grapheme boundaries where the library runs: ICU, or the JavaScript engine's.
GraphemeFinder Graphemes();

// Runs body, turning what it returns or throws into a status, and a failure
// into *error when asked for.
huecode_status Report(huecode_error** error, const std::function<Error()>& body);

}  // namespace huecode::library
