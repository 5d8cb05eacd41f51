#include "colour/number_pattern.h"

#include <string>

#include "runtime/error.h"

namespace pigmo::colour {

namespace {

// More integer digits than the largest double has (309); a guard, since
// only doubles reach the formatter in this program.
constexpr std::int64_t kMaxIntegerDigits = 400;

std::int64_t CountZeros(std::u16string_view pattern, std::size_t& i) {
  const std::size_t start = i;
  while (i < pattern.size() && pattern[i] == u'0') ++i;
  return static_cast<std::int64_t>(i - start);
}

// Adds one unit in the last place of `digits`; true when it carries out of
// the first digit (the caller then puts a '1' in front).
bool Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return false;
    }
    *it = '0';
  }
  return true;
}

}  // namespace

NumberPattern NumberPattern::Parse(std::u16string_view pattern) {
  std::size_t i = 0;
  const std::int64_t integer_digits = CountZeros(pattern, i);
  std::int64_t decimals = 0;
  bool valid = integer_digits > 0;
  if (valid && i < pattern.size()) {
    valid = pattern[i] == u'.';
    ++i;
    decimals = CountZeros(pattern, i);
    valid = valid && decimals > 0 && i == pattern.size();
  }
  if (!valid) runtime::Raise(runtime::ErrorKind::kInvalidArgument, "unsupported number pattern");
  return NumberPattern(integer_digits, decimals);
}

std::u16string NumberPattern::Format(const DecimalNumber& value, std::u16string_view separator) const {
  // Round to `decimals_` places: keep the digits down to that place and
  // look at the first one dropped. With only decimal digits in hand a tie
  // is exactly "5 and then nothing", and >= '5' rounds away from zero.
  std::string digits;
  std::int64_t point = value.point;
  const std::int64_t keep = value.point + decimals_;
  const auto length = static_cast<std::int64_t>(value.digits.size());
  if (keep >= length) {
    digits = value.digits;
  } else if (keep >= 0) {
    digits.assign(value.digits, 0, static_cast<std::size_t>(keep));
    if (value.digits[static_cast<std::size_t>(keep)] >= '5' && Increment(digits)) {
      digits.insert(digits.begin(), '1');
      ++point;
    }
  }  // else every digit lies below half a unit of the last place: zero.

  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  if (zero) point = 0;
  if (point > kMaxIntegerDigits) {
    runtime::Raise(runtime::ErrorKind::kOverflow, "number too large to format");
  }

  // The digit standing at `place` (0 = first integer digit when point
  // is 1, and so on), or '0' outside the kept digits.
  const auto digit_at = [&](std::int64_t place) -> char16_t {
    return place >= 0 && place < static_cast<std::int64_t>(digits.size())
               ? static_cast<char16_t>(digits[static_cast<std::size_t>(place)])
               : u'0';
  };

  const std::int64_t integer_digits = point > 0 ? point : 0;
  const std::int64_t padding = min_integer_digits_ > integer_digits ? min_integer_digits_ - integer_digits : 0;

  std::u16string out;
  out.reserve(static_cast<std::size_t>(1 + padding + integer_digits + decimals_) + separator.size());
  if (value.negative && !zero) out.push_back(u'-');
  out.append(static_cast<std::size_t>(padding), u'0');
  for (std::int64_t p = 0; p < integer_digits; ++p) out.push_back(digit_at(p));
  if (decimals_ > 0) {
    out.append(separator);
    for (std::int64_t d = 0; d < decimals_; ++d) out.push_back(digit_at(point + d));
  }
  return out;
}

}  // namespace pigmo::colour
