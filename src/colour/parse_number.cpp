#include "colour/parse_number.h"

#include <cstdint>
#include <string_view>

#include "colour/colour_rules.h"
#include "runtime/error.h"

namespace pigmo::colour {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Exponents beyond this many powers of ten are equally out of any double's
// reach; saturating keeps the arithmetic from wrapping whatever the length.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000'000;

}  // namespace

std::optional<DecimalNumber> ScanNumber(std::u16string_view text, std::u16string_view separator) {
  const std::size_t end = text.size();
  std::size_t i = 0;
  while (i < end && text[i] == u' ') ++i;

  DecimalNumber number;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) {
    number.negative = text[i] == u'-';
    ++i;
  }

  // Mantissa. Leading zeros are dropped (each one after the separator moves
  // the point left); zeros after a nonzero digit are held back until
  // another nonzero digit follows, so the digits never end in '0'.
  bool any_digit = false;
  bool seen_separator = false;
  std::size_t held_zeros = 0;
  while (i < end) {
    const char16_t c = text[i];
    if (IsDigit(c)) {
      any_digit = true;
      if (number.digits.empty() && c == u'0') {
        if (seen_separator) --number.point;
      } else {
        if (c == u'0') {
          ++held_zeros;
        } else {
          number.digits.append(held_zeros, '0');
          held_zeros = 0;
          number.digits.push_back(static_cast<char>(c));
        }
        if (!seen_separator) ++number.point;
      }
      ++i;
    } else if (!seen_separator && !separator.empty() && text.substr(i).starts_with(separator)) {
      seen_separator = true;
      i += separator.size();
    } else {
      break;
    }
  }
  if (!any_digit) return std::nullopt;

  if (i < end && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool negative_exponent = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
      negative_exponent = text[i] == u'-';
      ++i;
    }
    if (i == end || !IsDigit(text[i])) return std::nullopt;
    std::int64_t exponent = 0;
    for (; i < end && IsDigit(text[i]); ++i) {
      if (exponent < kExponentLimit) exponent = exponent * 10 + (text[i] - u'0');
    }
    // The point moved by at most the text's length, far below the limit.
    number.point += negative_exponent ? -exponent : exponent;
  }

  while (i < end && text[i] == u' ') ++i;
  if (i != end) return std::nullopt;

  if (number.IsZero()) number.point = 0;
  return number;
}

double ParseNumber(std::u16string_view text, const runtime::Locale& locale) {
  const auto number = ScanNumber(text, locale.DecimalSeparator());
  if (!number) runtime::Raise(runtime::ErrorKind::kTypeMismatch, "not a number");
  return ToDouble(*number);
}

}  // namespace pigmo::colour
