// Run-time errors: the one failure type every rule and backend throws.
#pragma once

#include <stdexcept>
#include <string>

namespace pigmo::runtime {

enum class ErrorKind {
  kTypeMismatch,     // a text that is not a number
  kOverflow,         // a value outside the range of its type
  kInvalidArgument,  // an argument a rule cannot take (negative position...)
  kPlatform,         // the operating system or toolkit refused (no window class...)
  kForeign,          // an exception of another type, caught at the event dispatch
};

// The three conversion errors: the ones a handler step may suppress. A
// platform failure or a foreign exception always reaches the dispatch.
constexpr bool IsConversionError(ErrorKind kind) noexcept {
  return kind == ErrorKind::kTypeMismatch || kind == ErrorKind::kOverflow || kind == ErrorKind::kInvalidArgument;
}

const char* ErrorKindName(ErrorKind kind) noexcept;

class Error : public std::runtime_error {
 public:
  Error(ErrorKind kind, const std::string& what);
  ErrorKind kind() const noexcept { return kind_; }

 private:
  ErrorKind kind_;
};

[[noreturn]] void Raise(ErrorKind kind, const std::string& what);

}  // namespace pigmo::runtime
