#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run.h"
#include "core/conversion.h"
#include "options/utf8.h"
#include "tests/fuzz/fuzz_input.h"

namespace huecode::fuzz {
namespace {

// What one run of the command line left on its streams.
struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class MemoryStream {
 public:
  MemoryStream() : m_file(open_memstream(&m_buffer, &m_size)) {}
  ~MemoryStream() {
    close();
    std::free(m_buffer);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  std::FILE* file() const { return m_file; }
  std::string take() {
    close();
    return std::string(m_buffer, m_size);
  }

 private:
  void close() {
    if (m_file) {
      std::fclose(m_file);
      m_file = nullptr;
    }
  }

  char* m_buffer = nullptr;
  std::size_t m_size = 0;
  std::FILE* m_file;
};

Outcome Run(const std::vector<std::string>& args, const std::string& stdinBytes) {
  // fmemopen wants at least one byte of buffer; the size read is what counts.
  std::string buffer = stdinBytes.empty() ? std::string(1, '\0') : stdinBytes;
  std::FILE* in = fmemopen(buffer.data(), stdinBytes.size(), "rb");
  if (stdinBytes.empty()) {
    std::fclose(in);
    in = std::fopen("/dev/null", "rb");
  }
  MemoryStream out;
  MemoryStream err;
  // Pictures are never written: the writer only says it succeeded.
  const PictureWriter noPictures = [](const CliOptions&, const ConversionPlan&) {
    return std::optional<Failure>();
  };
  Outcome outcome;
  outcome.exitCode = RunCli(args, CliStreams{in, out.file(), err.file()}, noPictures);
  std::fclose(in);
  outcome.out = out.take();
  outcome.err = err.take();
  return outcome;
}

// The markup the defaults give the bytes, or nothing when they are not UTF-8.
std::optional<std::string> DefaultMarkup(std::string_view bytes) {
  auto decoded = DecodeUtf8(bytes);
  if (!decoded) {
    return std::nullopt;
  }
  ConversionSettings settings;
  settings.text = std::move(*decoded);
  settings.stepText = u"1";
  settings.markup = InitialTemplate();
  return EncodeUtf8(GenerateCode(settings)) + "\n";
}

std::string_view WithoutOneLineBreak(std::string_view bytes) {
  if (bytes.ends_with("\r\n")) {
    bytes.remove_suffix(2);
  } else if (bytes.ends_with('\n')) {
    bytes.remove_suffix(1);
  }
  return bytes;
}

// The arguments (up to seven, each ended by a zero byte) and standard input
// the input holds; nothing when an argument names another folder.
std::optional<std::vector<std::string>> ReadArgs(FuzzInput& input, std::string& stdinBytes) {
  const std::size_t argCount = input.byte() % 8;
  std::string_view rest = input.restAsBytes();
  std::vector<std::string> args;
  while (args.size() < argCount) {
    const std::size_t end = rest.find('\0');
    args.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (args.back().find('/') != std::string::npos) {
      return std::nullopt;
    }
  }
  stdinBytes = std::string(rest);
  return args;
}

// A failure writes nothing to standard output and says why on standard
// error; success may still leave notes there (--stats, the step --fit
// chose), one line each, and writes UTF-8 ending in a line break.
void CheckStreams(const Outcome& outcome) {
  FUZZ_CHECK(outcome.exitCode == kExitOk || outcome.exitCode == kExitInputError ||
             outcome.exitCode == kExitUsageError);
  if (outcome.exitCode != kExitOk) {
    FUZZ_CHECK(outcome.out.empty());
    FUZZ_CHECK(outcome.err.starts_with("huecode-cli: ") && outcome.err.size() > 14);
    FUZZ_CHECK(outcome.err.ends_with('\n'));
    return;
  }
  for (std::string_view notes = outcome.err; !notes.empty();) {
    const std::size_t end = notes.find('\n');
    FUZZ_CHECK(end != std::string_view::npos && notes.starts_with("huecode-cli: "));
    notes.remove_prefix(end + 1);
  }
  FUZZ_CHECK(outcome.out.ends_with('\n'));
  FUZZ_CHECK(DecodeUtf8(outcome.out).has_value());
}

// Plain words are joined by single spaces; without words the text comes from
// standard input less one trailing line break.
void CheckPlainWords(const std::vector<std::string>& args, const std::string& stdinBytes,
                     const Outcome& outcome) {
  bool onlyWords = true;
  std::string joined;
  for (std::size_t k = 0; k < args.size(); ++k) {
    onlyWords = onlyWords && (args[k].size() < 2 || args[k].front() != '-');
    joined += (k == 0 ? "" : " ") + args[k];
  }
  if (!onlyWords) {
    return;
  }
  const std::optional<std::string> expected =
      DefaultMarkup(args.empty() ? WithoutOneLineBreak(stdinBytes) : std::string_view(joined));
  if (expected) {
    FUZZ_CHECK(outcome.exitCode == kExitOk);
    FUZZ_CHECK(outcome.out == *expected);
  } else {
    FUZZ_CHECK(outcome.exitCode == kExitInputError);
  }
}

}  // namespace
}  // namespace huecode::fuzz

// Runs in an empty folder of its own, so that no --input can read a real file
// (arguments naming another folder are skipped below).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/huecode-cli-fuzz-XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0) {
    std::perror("cli_run_fuzz: cannot make its working folder");
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode::fuzz;
  FuzzInput input(data, size);
  std::string stdinBytes;
  const std::optional<std::vector<std::string>> args = ReadArgs(input, stdinBytes);
  if (!args) {
    return -1;
  }
  const Outcome outcome = Run(*args, stdinBytes);
  CheckStreams(outcome);
  CheckPlainWords(*args, stdinBytes, outcome);
  return 0;
}
