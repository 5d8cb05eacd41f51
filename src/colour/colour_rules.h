// The colour conversion rules: channel texts in, fraction texts, colour
// array texts and swatch colours out. Pure functions of their arguments;
// failures are runtime::Error (type mismatch, overflow, invalid argument).
#pragma once

#include <string>
#include <string_view>

#include "runtime/controls.h"
#include "runtime/locale.h"

namespace pigmo::colour {

// The number of a text, in the notation of `locale` (grammar documented in
// the implementation header). Not a number: type mismatch. Too large for a
// double: overflow.
double ParseNumber(std::u16string_view text, const runtime::Locale& locale);

// ParseNumber(text) > bound. Fails as ParseNumber does.
bool ExceedsBound(std::u16string_view text, double bound, const runtime::Locale& locale);

// ParseNumber(text) / scale, rounded to 15 significant digits, formatted
// with `pattern` ("0.0000", "0.00") and the locale's decimal separator.
std::u16string FractionText(std::u16string_view text, double scale, std::u16string_view pattern,
                            const runtime::Locale& locale);

// ParseNumber(text) == value exactly. Fails as ParseNumber does.
bool IsEdgeValue(std::u16string_view text, double value, const runtime::Locale& locale);

// "[" red "," green "," blue "," opacity "]", the texts inserted as they are.
std::u16string ArrayText(std::u16string_view red, std::u16string_view green,
                         std::u16string_view blue, std::u16string_view opacity);

// red + 256 * green + 65536 * blue, each text read as ParseNumber does and
// rounded half-to-even to a 16-bit integer; blue first, then green, then red.
runtime::Colour SwatchColour(std::u16string_view red, std::u16string_view green,
                             std::u16string_view blue, const runtime::Locale& locale);

}  // namespace pigmo::colour
