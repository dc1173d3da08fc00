#pragma once

#include <string>
#include <vector>

namespace huecode::test {

struct ProcessResult {
  int exitCode = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs the program with the arguments, feeding stdinBytes to its standard
// input and collecting both output streams. extraEnv entries are NAME=VALUE
// to set a variable or NAME to remove it.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& stdinBytes = {},
                         const std::vector<std::string>& extraEnv = {});

}  // namespace huecode::test
