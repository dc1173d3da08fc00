#pragma once

#include <gtest/gtest.h>

#include <string>

#include "process_runner.h"

namespace huecode::test {

// A failed run: the exit code, nothing on standard output and one line on
// standard error that names the program and contains messagePart.
inline void ExpectFailure(const ProcessResult& result, int exitCode,
                          const std::string& messagePart) {
  EXPECT_EQ(result.exitCode, exitCode);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("huecode-cli: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(messagePart), std::string::npos) << result.err;
  ASSERT_FALSE(result.err.empty());
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
}

}  // namespace huecode::test
