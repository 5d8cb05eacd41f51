#include "runtime/controls.h"

#include <algorithm>
#include <string>

#include "runtime/error.h"
#include "runtime/form.h"

namespace pigmo::runtime {

std::int32_t PlaceCaret(std::int32_t caret, std::size_t length) {
  if (caret < 0) Raise(ErrorKind::kInvalidArgument, "caret position is negative");
  return static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(caret), length));
}

[[noreturn]] void NoSuchControl(std::string_view name) {
  Raise(ErrorKind::kInvalidArgument, "no control named " + std::string(name));
}

}  // namespace pigmo::runtime
