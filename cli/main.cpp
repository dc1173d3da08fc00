#include <csignal>
#include <string>
#include <vector>

#include "cli/run.h"
#ifdef HUECODE_PICTURE_MODULE
#include "cli/picture_module.h"
#else
#include "cli/picture_output.h"
#endif

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A closed pipe must be reported as a failed write (exit 1), not end the process silently.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef HUECODE_PICTURE_MODULE
  return huecode::RunCli(args, huecode::CliStreams{}, &huecode::WritePicturesOnDemand);
#else
  return huecode::RunCli(args, huecode::CliStreams{}, &huecode::WritePictures);
#endif
}
