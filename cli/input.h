#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_error.h"

namespace huecode {

// echo and editors end a file with one line break; that one is not part of the text.
std::string_view DropTrailingLineBreak(std::string_view bytes);

struct InputBytes {
  std::string bytes;
  std::optional<CliError> error;
};

// Every byte of the stream, in binary; name is used in the error message.
InputBytes ReadStream(std::FILE* stream, std::string_view name);
InputBytes ReadFile(const std::string& path);

}  // namespace huecode
