#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "cli/picture_module.h"

namespace huecode {

namespace {

// The module's place relative to the program is the same in the build tree
// and below any install prefix (the build system sets both).
std::filesystem::path ModulePath() {
  const std::filesystem::path relative = HUECODE_PICTURE_MODULE;
  std::string program(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", program.data(), program.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= program.size()) {
    return std::filesystem::path(HUECODE_PICTURE_MODULE_INSTALLED);
  }
  program.resize(static_cast<std::size_t>(length));
  return (std::filesystem::path(program).parent_path() / relative).lexically_normal();
}

Failure LoadError(const std::filesystem::path& path, const std::string& reason) {
  return {kExitInputError, "cannot write pictures: the picture module " + path.string() +
                               " could not be loaded (" + reason +
                               "); reinstall huecode, or build its huecode_cli_pictures target"};
}

}  // namespace

std::optional<Failure> WritePicturesOnDemand(const CliOptions& options,
                                             const ConversionPlan& plan) {
  const std::filesystem::path path = ModulePath();
  // Never closed: Qt keeps global state until the program ends.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    return LoadError(path, reason != nullptr ? reason : "unknown reason");
  }
  auto* write = reinterpret_cast<HuecodeWritePictures*>(dlsym(module, kWritePicturesSymbol));
  if (write == nullptr) {
    return LoadError(path, std::string("it has no ") + kWritePicturesSymbol);
  }
  std::optional<Failure> error;
  write(options, plan, error);
  return error;
}

}  // namespace huecode
