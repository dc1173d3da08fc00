#include <csignal>
#include <string>
#include <vector>

#include "cli/picture_output.h"
#include "cli/run.h"

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
  // A closed pipe must be reported as a failed write (exit 1), not end the process silently.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return huecode::RunCli(args, huecode::CliStreams{}, &huecode::WritePictures);
}
#endif
