#include "cli/input.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

Failure ReadError(std::string_view name, int error) {
  return {kExitInputError,
          "cannot read " + std::string(name) + ": " + std::strerror(error != 0 ? error : EIO)};
}

// Decodes what was read, but for its last two bytes (which may turn out to
// be the final line break) unless it is the end, and for a character that
// runs past them, which is decoded with the next block; returns how many
// bytes it took. before counts the bytes taken earlier, for a fault's offset.
std::size_t DecodeBlock(std::string_view read, bool end, std::size_t before,
                        DecodedInput& decoded) {
  const std::size_t held = end ? 0 : std::min<std::size_t>(2, read.size());
  std::size_t taken = read.size() - held;
  if (decoded.fault) {
    return taken;
  }
  std::optional<Utf8Error> fault = AppendUtf8(read.substr(0, taken), decoded.text);
  if (fault && !end && fault->fault == Utf8Fault::Truncated) {
    taken = fault->offset;
    fault.reset();
  }
  if (fault) {
    fault->offset += before;
    decoded.fault = fault;
  }
  return taken;
}

Result<DecodedInput> ReadDecodedInto(DecodedInput decoded, std::FILE* stream, std::string_view name,
                                     std::size_t block, FinalBreak drop) {
  block = std::max<std::size_t>(block, 1);
  // Room before each block for what the one before held back: its last two
  // bytes and the start of a character they cut.
  std::string bytes(block + 5, '\0');
  std::size_t carried = 0;
  std::size_t before = 0;  // bytes taken before bytes[0]
  for (;;) {
    errno = 0;
    const std::size_t count = std::fread(bytes.data() + carried, 1, block, stream);
    const bool end = count < block;
    if (end && std::ferror(stream)) {
      return ReadError(name, errno);
    }
    std::string_view read(bytes.data(), carried + count);
    if (end) {
      DecodeBlock(DropTrailingLineBreak(read, drop), true, before, decoded);
      return decoded;
    }
    const std::size_t taken = DecodeBlock(read, false, before, decoded);
    before += taken;
    carried = read.size() - taken;
    std::memmove(bytes.data(), read.data() + taken, carried);
  }
}

}  // namespace

std::string_view DropTrailingLineBreak(std::string_view bytes, FinalBreak drop) {
  if (drop == FinalBreak::LineBreak && bytes.ends_with("\r\n")) {
    bytes.remove_suffix(2);
  } else if (bytes.ends_with('\n')) {
    bytes.remove_suffix(1);
  }
  return bytes;
}

Result<DecodedInput> ReadDecodedStream(std::FILE* stream, std::string_view name, std::size_t block,
                                       FinalBreak drop) {
  return ReadDecodedInto({}, stream, name, block, drop);
}

Result<DecodedInput> ReadDecodedFile(const std::string& path, FinalBreak drop) {
  const std::string name = "'" + path + "'";
  errno = 0;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(path), &std::fclose);
  if (!file) {
    return ReadError(name, errno);
  }
  // A file's text takes at most one unit per byte, so it is decoded into one
  // allocation of its size (a guess only: it may still grow); a pipe or a
  // device cannot tell its size.
  DecodedInput decoded;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    ReserveText(decoded.text, static_cast<std::size_t>(std::filesystem::file_size(path, error)));
  }
  return ReadDecodedInto(std::move(decoded), file.get(), name, kReadBlock, drop);
}

}  // namespace huecode
