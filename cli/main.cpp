#include <csignal>
#include <string>
#include <vector>

#include "cli/run.h"
#ifdef HUECODE_PICTURE_MODULE
#include "cli/picture_module.h"
#else
#include "cli/picture_output.h"
#endif

#ifdef _WIN32
#include "cli/windows_console.h"

// wmain, not main: Windows hands main() its arguments in the ANSI code page,
// where every character outside it is already lost.
int wmain(int argc, wchar_t** argv) {
  const huecode::WindowsConsole console;
  return huecode::RunCli(huecode::Utf8Arguments(argc, argv), huecode::CliStreams{},
                         &huecode::WritePictures);
}
#else
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
#endif
