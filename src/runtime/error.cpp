#include "runtime/error.h"

namespace pigmo::runtime {

const char* ErrorKindName(ErrorKind kind) noexcept {
  switch (kind) {
    case ErrorKind::kTypeMismatch:
      return "type mismatch";
    case ErrorKind::kOverflow:
      return "overflow";
    case ErrorKind::kInvalidArgument:
      return "invalid argument";
    case ErrorKind::kPlatform:
      return "platform failure";
    case ErrorKind::kForeign:
      return "foreign exception";
  }
  return "unknown error";
}

Error::Error(ErrorKind kind, const std::string& what)
    : std::runtime_error(std::string(ErrorKindName(kind)) + ": " + what), kind_(kind) {}

void Raise(ErrorKind kind, const std::string& what) { throw Error(kind, what); }

}  // namespace pigmo::runtime
