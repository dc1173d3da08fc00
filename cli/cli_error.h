#pragma once

#include <string>

namespace huecode {

enum ExitCode : int {
  kExitOk = 0,
  kExitInputError = 1,  // unreadable input, text that is not UTF-8, output that cannot be written
  kExitUsageError = 2,  // the command line itself is wrong
};

struct CliError {
  int exitCode = kExitUsageError;
  std::string message;  // one line, without the program name
};

}  // namespace huecode
