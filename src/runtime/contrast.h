// How well one colour reads on another, and which colour a control's text
// is painted in on the user's colour scheme. Platform-free: every backend
// asks the same question with the colours its platform gives it.
#pragma once

#include <optional>

#include "runtime/colour.h"

namespace pigmo::runtime {

// The contrast below which a text is taken as unreadable on its background.
inline constexpr double kReadableContrast = 3.0;

// The relative luminance of a 0x00BBGGRR colour read as sRGB: 0 for black,
// 1 for white.
double RelativeLuminance(Colour colour);

// (lighter + 0.05) / (darker + 0.05) of the two luminances: 1 for equal
// colours, 21 for black on white. The order of the arguments does not count.
double ContrastRatio(Colour a, Colour b);

// The colour a control's text is painted in. A control keeps its own colour
// where it reads on the background the scheme gives it; a scheme that would
// make it unreadable (a dark one), and a high-contrast scheme, where the
// user asks every program for the system's colours, get the scheme's own
// text colour instead. No colour of its own: the scheme's.
Colour TextColour(std::optional<Colour> own, Colour scheme_text, Colour background, bool high_contrast);

}  // namespace pigmo::runtime
