#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli_error.h"

namespace huecode {

// echo and editors end a file with one line break; that one is not part of the text.
std::string_view DropTrailingLineBreak(std::string_view bytes);

// Every byte of the stream, in binary; name is used in the error message.
Result<std::string> ReadStream(std::FILE* stream, std::string_view name);
Result<std::string> ReadFile(const std::string& path);

}  // namespace huecode
