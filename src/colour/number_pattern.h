// Number formatting with a pattern such as "0.0000" or "0.00".
//
//   pattern = "0"+ ("." "0"+)?
//
// The zeros before the point are the least number of integer digits (more
// are written when the value needs them); the zeros after it are the exact
// number of decimals. The "." stands for the locale's decimal separator.
// Any other pattern is an invalid-argument error.
//
// Rounding is to the nearest value at the last decimal place, working on
// the decimal digits of the value; a tie (a 5 followed by nothing but
// zeros) rounds away from zero. A negative value keeps its minus sign
// unless the written value is all zeros: -0.00001 under "0.0000" gives
// "0.0000", never "-0.0000".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "colour/decimal_number.h"

namespace pigmo::colour {

class NumberPattern {
 public:
  // Reads `pattern`; invalid-argument error when it is not of the form
  // above.
  static NumberPattern Parse(std::u16string_view pattern);

  // `value` written with ASCII digits and `separator` between the integer
  // and the decimal digits (no separator when there are no decimals). A
  // value with more integer digits than any double has (over 400) is an
  // overflow error rather than a runaway allocation.
  std::u16string Format(const DecimalNumber& value, std::u16string_view separator) const;

 private:
  NumberPattern(std::int64_t min_integer_digits, std::int64_t decimals)
      : min_integer_digits_(min_integer_digits), decimals_(decimals) {}

  std::int64_t min_integer_digits_;
  std::int64_t decimals_;
};

}  // namespace pigmo::colour
