#include "cli/input.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include "cli/windows_console.h"
#endif

namespace huecode {

namespace {

std::FILE* OpenForReading(const std::string& path) {
#ifdef _WIN32
  // fopen takes the ANSI code page, in which most Chinese file names cannot be written.
  return _wfopen(WidePath(path).c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

CliError ReadError(std::string_view name, int error) {
  return {kExitInputError,
          "cannot read " + std::string(name) + ": " + std::strerror(error != 0 ? error : EIO)};
}

Result<std::string> ReadInto(std::string bytes, std::FILE* stream, std::string_view name) {
  char buffer[65536];
  for (;;) {
    errno = 0;
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, stream);
    bytes.append(buffer, count);
    if (count < sizeof buffer) {
      if (std::ferror(stream)) {
        return ReadError(name, errno);
      }
      return bytes;
    }
  }
}

}  // namespace

std::string_view DropTrailingLineBreak(std::string_view bytes) {
  if (bytes.ends_with("\r\n")) {
    bytes.remove_suffix(2);
  } else if (bytes.ends_with('\n')) {
    bytes.remove_suffix(1);
  }
  return bytes;
}

Result<std::string> ReadStream(std::FILE* stream, std::string_view name) {
  return ReadInto({}, stream, name);
}

Result<std::string> ReadFile(const std::string& path) {
  const std::string name = "'" + path + "'";
  errno = 0;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(path), &std::fclose);
  if (!file) {
    return ReadError(name, errno);
  }
  // A file is read into one allocation of its size (a guess only: it may
  // still grow); a pipe or a device cannot tell its size.
  std::string bytes;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    bytes.reserve(static_cast<std::size_t>(std::filesystem::file_size(path, error)) + 1);
  }
  return ReadInto(std::move(bytes), file.get(), name);
}

}  // namespace huecode
