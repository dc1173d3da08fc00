#pragma once

#include <string>
#include <utility>
#include <variant>

namespace huecode {

enum ExitCode : int {
  kExitOk = 0,
  kExitInputError = 1,  // unreadable input, text that is not UTF-8, output that cannot be written
  kExitUsageError = 2,  // the command line itself is wrong
};

struct Failure {
  int exitCode = kExitUsageError;
  std::string message;  // one line, without the program name
};

// A value or the error that stopped it from being made.
template <typename T, typename E = Failure>
class Result {
 public:
  Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
  Result(E error) : m_state(std::in_place_index<1>, std::move(error)) {}

  bool has_value() const { return m_state.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() { return std::get<0>(m_state); }
  const T& value() const { return std::get<0>(m_state); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const E& error() const { return std::get<1>(m_state); }

 private:
  std::variant<T, E> m_state;
};

}  // namespace huecode
