// Run-time conversion errors: the one failure type every rule throws.
#pragma once

#include <stdexcept>
#include <string>

namespace pigmo::runtime {

enum class ErrorKind {
  kTypeMismatch,     // a text that is not a number
  kOverflow,         // a value outside the range of its type
  kInvalidArgument,  // an argument a rule cannot take (negative position...)
};

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
