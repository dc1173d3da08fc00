#include <csignal>
#include <string>
#include <vector>

#include "cli/picture_output.h"
#include "cli/run.h"

int main(int argc, char** argv) {
  // A closed pipe must be reported as a failed write (exit 1), not end the process silently.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return huecode::RunCli(args, huecode::CliStreams{}, &huecode::WritePictures);
}
