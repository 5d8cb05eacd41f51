#include "runtime/locale.h"

namespace pigmo::runtime {

std::string LocaleName(std::string_view requested) {
  const std::string_view name = requested.substr(0, requested.find_first_of(".@"));
  return name.empty() || name == "C" || name == "POSIX" ? "C" : std::string(name);
}

}  // namespace pigmo::runtime
