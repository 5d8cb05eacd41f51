#include "runtime/controls.h"

#include <algorithm>

#include "runtime/error.h"

namespace pigmo::runtime {

std::int32_t PlaceCaret(std::int32_t caret, std::size_t length) {
  if (caret < 0) Raise(ErrorKind::kInvalidArgument, "caret position is negative");
  return static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(caret), length));
}

}  // namespace pigmo::runtime
