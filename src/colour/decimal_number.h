// An exact decimal value held as digits, and its conversions to and from
// double. The colour rules keep numbers as decimal digits wherever they
// round, so a tie is decided on the digits the user sees, not on the binary
// value closest to them.
#pragma once

#include <cstdint>
#include <string>

namespace pigmo::colour {

// Value = (negative ? -1 : 1) * 0.d1 d2 ... dk * 10^point, where `digits`
// holds d1..dk as ASCII digits. The digits carry no leading or trailing
// '0'; zero has empty digits and point 0 (and may be negative: -0).
struct DecimalNumber {
  bool negative = false;
  std::string digits;
  std::int64_t point = 0;

  bool IsZero() const { return digits.empty(); }
  friend bool operator==(const DecimalNumber&, const DecimalNumber&) = default;
};

// The double nearest to `value` (round half to even, as std::from_chars
// does). Too large for a double: overflow error. Too small: a zero with the
// sign of `value`. Never an infinity. Time is bounded however many digits
// `value` has: beyond the first few hundred significant digits only
// "something nonzero follows" matters for the rounding, and that is kept.
double ToDouble(const DecimalNumber& value);

// `value` rounded to `significant` (1..17) significant digits, as the
// exact decimal that std::to_chars writes for it. `value` must be finite.
DecimalNumber RoundToSignificant(double value, int significant);

}  // namespace pigmo::colour
