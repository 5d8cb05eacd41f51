// The colour conversion rules: channel texts in, fraction texts, colour
// array texts and swatch colours out. Pure functions of their arguments:
// nothing reads the process-wide C locale, numbers are read and written
// with ASCII digits and the separator of the Locale passed in. Failures are
// runtime::Error (type mismatch, overflow, invalid argument); no rule
// catches one.
//
// The building blocks have headers of their own: parse_number.h (the number
// grammar), decimal_number.h (exact decimals and doubles), number_pattern.h
// (pattern formatting).
#pragma once

#include <string>
#include <string_view>

#include "colour/decimal_number.h"
#include "colour/number_pattern.h"
#include "colour/parse_number.h"
#include "runtime/colour.h"
#include "runtime/locale.h"

namespace pigmo::colour {

// The number of a text, in the notation of `locale` (grammar documented in
// parse_number.h). Not a number: type mismatch. Too large for a double:
// overflow. Too small: zero with its sign.
double ParseNumber(std::u16string_view text, const runtime::Locale& locale);

// ParseNumber(text) > bound. A number equal to the bound does not exceed it.
// Fails as ParseNumber does.
bool ExceedsBound(std::u16string_view text, double bound, const runtime::Locale& locale);

// ParseNumber(text) / scale in double precision, rounded to 15 significant
// digits, then formatted with `pattern` ("0.0000", "0.00"; see
// number_pattern.h for the pattern form, the tie rule and the sign of a
// result that rounds to zero) and the locale's decimal separator.
// Fails as ParseNumber does; a scale that is not a positive finite number or
// an unsupported pattern is an invalid-argument error (checked first); a
// quotient too large for a double is an overflow error.
std::u16string FractionText(std::u16string_view text, double scale, std::u16string_view pattern,
                            const runtime::Locale& locale);

// ParseNumber(text) == value exactly ("-0" is an edge value for 0). Fails
// as ParseNumber does.
bool IsEdgeValue(std::u16string_view text, double value, const runtime::Locale& locale);

// "[" red "," green "," blue "," opacity "]", the texts inserted as they are.
std::u16string ArrayText(std::u16string_view red, std::u16string_view green, std::u16string_view blue,
                         std::u16string_view opacity);

// red + 256 * green + 65536 * blue.
//
// Each text is read as ParseNumber does and rounded to the nearest integer,
// a half going to the even neighbour (127.5 -> 128, 128.5 -> 128); outside
// -32768..32767 is an overflow error. Blue is converted first, then green,
// then red, and the first failure stops the rule. A negative component
// counts as 0 and one above 255 as 255, so the result is always a 24-bit
// colour.
runtime::Colour SwatchColour(std::u16string_view red, std::u16string_view green, std::u16string_view blue,
                             const runtime::Locale& locale);

}  // namespace pigmo::colour
