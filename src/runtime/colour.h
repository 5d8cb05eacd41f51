// The colour value the window's controls and the colour rules share.
#pragma once

#include <cstdint>

namespace pigmo::runtime {

// A 24-bit colour written 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

}  // namespace pigmo::runtime
