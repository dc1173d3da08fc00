#pragma once

#include <optional>
#include <string>
#include <vector>

namespace huecode {

// Standard input, output and error in binary mode, so that the bytes are the
// same as on every other system (no CR added before LF, none taken away, no
// end at Ctrl+Z); a console shows and reads them as UTF-8 and obeys colour
// escapes. The console's settings are given back when the program ends.
class WindowsConsole {
 public:
  WindowsConsole();
  ~WindowsConsole();
  WindowsConsole(const WindowsConsole&) = delete;
  WindowsConsole& operator=(const WindowsConsole&) = delete;

 private:
  unsigned m_inputCodePage;
  unsigned m_outputCodePage;
  std::optional<unsigned long> m_outputMode;
};

// The arguments after the program's name, as Windows hands them over (UTF-16,
// so that no character is lost to the ANSI code page), in UTF-8.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

// A UTF-8 file name as Windows takes it.
std::wstring WidePath(const std::string& path);

}  // namespace huecode
