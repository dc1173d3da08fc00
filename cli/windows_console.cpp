#include "cli/windows_console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "core/surrogates.h"
#include "options/utf8.h"

namespace huecode {

namespace {

// UTF-8, except that a lone surrogate (which Windows allows in a command
// line) is written as if it were a character, so that decoding the argument
// fails as it would for malformed UTF-8 on other systems instead of quietly
// changing the text.
std::string Utf8Argument(const wchar_t* arg) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  std::string bytes;
  char buffer[4];
  for (const wchar_t* c = arg; *c != L'\0'; ++c) {
    char32_t unit = static_cast<char16_t>(*c);
    const auto next = static_cast<char16_t>(c[1]);
    if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
      unit = CombineSurrogates(unit, next);
      ++c;
    }
    bytes.append(buffer, detail::PutUtf8(buffer, unit));
  }
  return bytes;
}

}  // namespace

WindowsConsole::WindowsConsole()
    : m_inputCodePage(GetConsoleCP()), m_outputCodePage(GetConsoleOutputCP()) {
  for (std::FILE* stream : {stdin, stdout, stderr}) {
    _setmode(_fileno(stream), _O_BINARY);
  }
  // These calls fail harmlessly when no console is attached (a pipe, a file).
  SetConsoleCP(CP_UTF8);
  SetConsoleOutputCP(CP_UTF8);
  // --show colours the text with the escape sequences every terminal knows;
  // the Windows console obeys them only when asked to.
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0) {
    m_outputMode = mode;
    SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  }
}

WindowsConsole::~WindowsConsole() {
  if (m_inputCodePage != 0) {
    SetConsoleCP(m_inputCodePage);
  }
  if (m_outputCodePage != 0) {
    SetConsoleOutputCP(m_outputCodePage);
  }
  if (m_outputMode) {
    SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), *m_outputMode);
  }
}

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int k = 1; k < argc; ++k) {
    args.push_back(Utf8Argument(argv[k]));
  }
  return args;
}

std::wstring WidePath(const std::string& path) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
  return wide;
}

}  // namespace huecode
