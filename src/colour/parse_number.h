// The one number grammar of the colour rules.
//
//   number   = blank* sign? mantissa exponent? blank*
//   blank    = U+0020 (nothing else: no tab, no no-break space)
//   sign     = "+" | "-"
//   mantissa = digit* separator? digit*, with at least one digit in all
//   digit    = "0".."9" (ASCII only; no other script's digits)
//   exponent = ("E" | "e") sign? digit+
//
// `separator` is the locale's decimal separator, matched as a whole
// (it may be several code units, e.g. U+066B in fa_IR); it is expected to
// contain no ASCII digit, sign, blank or "E"/"e". So ".5" is 0.5, "5." is 5,
// "-0" is minus zero, "1E2" is 100, and "." fails.
//
// Everything else is not a number: the empty text, blanks only, a lone
// sign, letters, "inf", "nan", a hexadecimal or octal prefix, digit
// grouping, currency signs, parentheses, a trailing sign, a sign after a
// blank, control characters and NUL, lone surrogates, a second separator.
//
// The rules read a number through ParseNumber (colour_rules.h), which adds
// the error kinds: not a number is a type-mismatch error; too large for a
// double (e.g. "1e400") is an overflow error, never an infinity; too small
// ("1e-400") reads as zero with its sign.
#pragma once

#include <optional>
#include <string_view>

#include "colour/decimal_number.h"

namespace pigmo::colour {

// The exact decimal value of `text` under the grammar above, or nothing
// when `text` does not follow it. Linear in the length of `text`; an
// exponent of any length saturates instead of wrapping.
std::optional<DecimalNumber> ScanNumber(std::u16string_view text, std::u16string_view separator);

}  // namespace pigmo::colour
