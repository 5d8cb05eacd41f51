// A colour as a screen reader says it, for a label that shows a colour
// rather than text. Every backend describes such a label with these words.
#pragma once

#include <string>

#include "runtime/controls.h"

namespace pigmo::runtime {

// A rough name and the channels, such as "Dark green: red 0, green 128,
// blue 0". English, as the rest of what assistive tools are told.
std::u16string ColourInWords(Colour colour);

}  // namespace pigmo::runtime
