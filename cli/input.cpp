#include "cli/input.h"

#include <cerrno>
#include <cstring>
#include <memory>

namespace huecode {

namespace {

CliError ReadError(std::string_view name, int error) {
  return {kExitInputError,
          "cannot read " + std::string(name) + ": " + std::strerror(error != 0 ? error : EIO)};
}

// What is left to read of a file, so that it is read into one allocation;
// 0 for a pipe or a terminal, which cannot tell.
std::size_t RemainingBytes(std::FILE* stream) {
  const long at = std::ftell(stream);
  if (at < 0 || std::fseek(stream, 0, SEEK_END) != 0) {
    std::clearerr(stream);
    return 0;
  }
  const long end = std::ftell(stream);
  if (std::fseek(stream, at, SEEK_SET) != 0) {
    std::clearerr(stream);
    return 0;
  }
  return end > at ? static_cast<std::size_t>(end - at) : 0;
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
  std::string bytes;
  bytes.reserve(RemainingBytes(stream));
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

Result<std::string> ReadFile(const std::string& path) {
  const std::string name = "'" + path + "'";
  errno = 0;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
  if (!file) {
    return ReadError(name, errno);
  }
  return ReadStream(file.get(), name);
}

}  // namespace huecode
