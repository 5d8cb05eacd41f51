// The numeric text filter: keeps a text to the characters of an allowed set
// and at most one decimal delimiter, working from the caret. Pure functions;
// failures are runtime::Error (overflow, invalid argument).
//
// Texts are UTF-16 code units, positions are 1-based, carets are counts of
// code units before the caret. Every comparison goes through the locale's
// case-insensitive text comparison.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/locale.h"

namespace pigmo::restriction {

// The position (1-based) where the last occurrence of `sMatch` begins among
// occurrences that lie wholly within the first `LastPos` code units of
// `Text`; 0 when there is none. A negative `LastPos` is an invalid-argument
// error.
std::int32_t InstrPrev(std::u16string_view Text, std::u16string_view sMatch, std::int32_t LastPos,
                       const runtime::Locale& locale);

struct Cleaned {
  std::u16string text;
  std::int32_t caret = 0;
  friend bool operator==(const Cleaned&, const Cleaned&) = default;
};

// The cleaning rule: commas become the delimiter, the last delimiter before
// the caret survives (else the first one in the text), characters before
// the caret that are not in `allowed` go, and a leading delimiter gets "0"
// in front. A scan that reaches position 32,767 is an overflow error.
Cleaned CleanText(std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
                  std::u16string_view delimiter, const runtime::Locale& locale);

}  // namespace pigmo::restriction
