#include "colour/decimal_number.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>

#include "colour/parse_number.h"
#include "runtime/error.h"

namespace pigmo::colour {

namespace {

// Any tie between two neighbouring doubles is decided within 767
// significant decimal digits. Keeping more than that, plus one nonzero
// digit standing for "something follows", rounds exactly as the full
// digits would.
constexpr std::size_t kKeptDigits = 800;

// Positions of the leading digit beyond which a double cannot reach:
// 0.1e310 = 1e309 is above the largest double, 0.9e-330 far below the
// smallest subnormal.
constexpr std::int64_t kOverflowPoint = 310;
constexpr std::int64_t kUnderflowPoint = -330;

double SignedZero(bool negative) { return negative ? -0.0 : 0.0; }

}  // namespace

double ToDouble(const DecimalNumber& value) {
  if (value.IsZero() || value.point < kUnderflowPoint) return SignedZero(value.negative);
  if (value.point > kOverflowPoint) runtime::Raise(runtime::ErrorKind::kOverflow, "number too large");

  // "[-]digits[1]e<exp>", the digits read as an integer.
  std::string text;
  const std::size_t kept = std::min(value.digits.size(), kKeptDigits);
  text.reserve(kept + 32);
  if (value.negative) text.push_back('-');
  text.append(value.digits, 0, kept);
  std::int64_t exponent = value.point - static_cast<std::int64_t>(kept);
  if (kept < value.digits.size()) {
    // The digits end in a nonzero digit, so something nonzero was cut.
    text.push_back('1');
    --exponent;
  }
  text.push_back('e');
  char buffer[24];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, exponent);
  text.append(buffer, written.ptr);

  double result = 0.0;
  const auto read = std::from_chars(text.data(), text.data() + text.size(), result, std::chars_format::general);
  if (read.ec == std::errc::result_out_of_range) {
    // from_chars says the same for both ends; the leading digit's position
    // tells them apart (here it is either above 300 or below -300).
    if (value.point > 0) runtime::Raise(runtime::ErrorKind::kOverflow, "number too large");
    return SignedZero(value.negative);
  }
  if (read.ec != std::errc() || read.ptr != text.data() + text.size()) {
    runtime::Raise(runtime::ErrorKind::kTypeMismatch, "not a number");
  }
  return result;
}

DecimalNumber RoundToSignificant(double value, int significant) {
  significant = std::clamp(significant, 1, 17);
  // Scientific form always gives exactly `significant` digits.
  char buffer[40];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant - 1);
  std::optional<DecimalNumber> decimal;
  if (written.ec == std::errc()) decimal = ScanNumber(std::u16string(buffer, written.ptr), u".");
  if (!decimal) runtime::Raise(runtime::ErrorKind::kOverflow, "number cannot be written");
  return *std::move(decimal);
}

}  // namespace pigmo::colour
