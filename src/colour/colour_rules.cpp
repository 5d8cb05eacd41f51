#include "colour/colour_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "runtime/error.h"

namespace pigmo::colour {

namespace {

// Significant digits a quotient keeps before it is formatted.
constexpr int kFractionDigits = 15;

// The nearest integer, a half going to the even neighbour. Built from
// floor, which is exact, so the result does not depend on the
// floating-point rounding mode in force.
double RoundHalfEven(double value) {
  // From 2^52 on every double is an integer.
  if (std::fabs(value) >= 4503599627370496.0) return value;
  const double below = std::floor(value);
  const double rest = value - below;  // exact: both lie on value's grid
  if (rest < 0.5) return below;
  if (rest > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// A component of the swatch: a signed 16-bit integer.
std::int32_t SwatchComponent(std::u16string_view text, const runtime::Locale& locale) {
  const double rounded = RoundHalfEven(ParseNumber(text, locale));
  if (rounded < -32768.0 || rounded > 32767.0) {
    runtime::Raise(runtime::ErrorKind::kOverflow, "colour component outside the 16-bit range");
  }
  return static_cast<std::int32_t>(rounded);
}

// One byte of the colour, kept inside 0..255 so that it cannot spill into
// the next channel's byte. A negative component counts as 0, so the swatch
// shows the colour the other channels make instead of looking frozen.
runtime::Colour ColourByte(std::int32_t component) {
  return static_cast<runtime::Colour>(std::clamp(component, 0, 255));
}

}  // namespace

bool ExceedsBound(std::u16string_view text, double bound, const runtime::Locale& locale) {
  return ParseNumber(text, locale) > bound;
}

bool IsEdgeValue(std::u16string_view text, double value, const runtime::Locale& locale) {
  return ParseNumber(text, locale) == value;
}

std::u16string FractionText(std::u16string_view text, double scale, std::u16string_view pattern,
                            const runtime::Locale& locale) {
  if (!std::isfinite(scale) || !(scale > 0.0)) {
    runtime::Raise(runtime::ErrorKind::kInvalidArgument, "scale must be a positive number");
  }
  const NumberPattern format = NumberPattern::Parse(pattern);
  const double quotient = ParseNumber(text, locale) / scale;
  if (!std::isfinite(quotient)) runtime::Raise(runtime::ErrorKind::kOverflow, "fraction too large");
  return format.Format(RoundToSignificant(quotient, kFractionDigits), locale.DecimalSeparator());
}

std::u16string ArrayText(std::u16string_view red, std::u16string_view green, std::u16string_view blue,
                         std::u16string_view opacity) {
  std::u16string out;
  out.reserve(red.size() + green.size() + blue.size() + opacity.size() + 5);
  out += u'[';
  out += red;
  out += u',';
  out += green;
  out += u',';
  out += blue;
  out += u',';
  out += opacity;
  out += u']';
  return out;
}

runtime::Colour SwatchColour(std::u16string_view red, std::u16string_view green, std::u16string_view blue,
                             const runtime::Locale& locale) {
  const std::int32_t b = SwatchComponent(blue, locale);
  const std::int32_t g = SwatchComponent(green, locale);
  const std::int32_t r = SwatchComponent(red, locale);
  const runtime::Colour blue_byte = ColourByte(b);
  const runtime::Colour green_byte = ColourByte(g);
  const runtime::Colour red_byte = ColourByte(r);
  return red_byte + 256 * green_byte + 65536 * blue_byte;
}

}  // namespace pigmo::colour
