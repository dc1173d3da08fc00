#pragma once

// Emscripten's libc++ reads integers with std::from_chars but not doubles;
// the step reader needs doubles, so the page's build adds them through
// strtod, which reports overflow and underflow the same way (ERANGE).
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>

namespace std {

inline from_chars_result from_chars(const char* first, const char* last, double& value) {
  const std::string number(first, last);
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(number.c_str(), &end);
  const char* stop = first + (end - number.c_str());
  if (stop == first) {
    return {first, errc::invalid_argument};
  }
  if (errno == ERANGE) {
    return {stop, errc::result_out_of_range};
  }
  value = parsed;
  return {stop, errc{}};
}

}  // namespace std
