// What the cleaning rule asks about single code units, answered once per
// unit and remembered. Nearly every comparison the rule makes is one code
// unit against a fixed text (",", "^", the delimiter, the allowed units),
// and collation is the slow part, so nearly every answer comes from a table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/locale.h"

namespace pigmo::restriction {

class UnitAnswers {
 public:
  // The questions, as bits of a mask.
  static constexpr std::uint8_t kDelimiter = 1;    // equal to the delimiter
  static constexpr std::uint8_t kSeparator = 2;    // read as one: the delimiter or a comma
  static constexpr std::uint8_t kPlaceholder = 4;  // equal to the "^" placeholder
  static constexpr std::uint8_t kAllowed = 8;      // equal to one of the allowed units

  // The texts must outlive this object.
  UnitAnswers(const runtime::Locale& locale, std::u16string_view allowed, std::u16string_view delimiter)
      : locale_(locale), allowed_(allowed), delimiter_(delimiter) {
    low_.fill(0);
  }

  bool Delimiter(char16_t u) { return Is(u, kDelimiter); }
  bool Separator(char16_t u) { return Is(u, kSeparator); }
  bool Placeholder(char16_t u) { return Is(u, kPlaceholder); }
  bool Allowed(char16_t u) { return Is(u, kAllowed); }

  // Several answers at once, as a mask of `bits`: one table look-up for the
  // loops that ask two questions of every unit.
  std::uint8_t Answers(char16_t u, std::uint8_t bits) {
    const int known = KnownMask(u, bits);
    if (known >= 0) return static_cast<std::uint8_t>(known);
    std::uint8_t mask = 0;
    for (const std::uint8_t bit : {kDelimiter, kSeparator, kPlaceholder, kAllowed}) {
      if ((bits & bit) != 0 && Is(u, bit)) mask = static_cast<std::uint8_t>(mask | bit);
    }
    return mask;
  }

 private:
  // The answers for `bits` (as a mask) or for one `bit` (1 or 0), or -1 when
  // one of them is not known yet. Kept in this shape: the hot loops compile
  // measurably tighter than with the same test written inline.
  int KnownMask(char16_t unit, std::uint8_t bits) {
    const std::uint8_t slot = Slot(unit);
    if (((slot >> 4) & bits) != bits) return -1;
    return slot & bits;
  }
  int Known(char16_t unit, std::uint8_t bit) {
    const std::uint8_t slot = Slot(unit);
    if ((slot & (bit << 4)) == 0) return -1;
    return (slot & bit) != 0 ? 1 : 0;
  }
  bool Is(char16_t u, std::uint8_t bit) {
    const int known = Known(u, bit);
    return known >= 0 ? known != 0 : Learn(u, bit);
  }
  // Works an answer out (collation) and stores it: the slow path, kept apart
  // from Is so that the loops asking the questions stay small.
  bool Learn(char16_t u, std::uint8_t bit);

  // Per unit: the answers in the low four bits, which of them are known in
  // the high four. The low byte of the unit indexes a small table; the rest
  // of the 16-bit range gets its own table only when a text needs it.
  std::uint8_t& Slot(char16_t u) {
    if (u < low_.size()) return low_[u];
    if (high_.empty()) high_.assign(0x10000 - low_.size(), 0);
    return high_[u - low_.size()];
  }

  const runtime::Locale& locale_;
  std::u16string_view allowed_;
  std::u16string_view delimiter_;
  std::array<std::uint8_t, 256> low_;
  std::vector<std::uint8_t> high_;
};

inline bool UnitAnswers::Learn(char16_t u, std::uint8_t bit) {
  const auto equals = [&](std::u16string_view text) { return locale_.TextEquals(std::u16string_view(&u, 1), text); };
  bool answer = false;
  switch (bit) {
    case kDelimiter:
      answer = equals(delimiter_);
      break;
    case kSeparator:
      answer = equals(u",") || Delimiter(u);
      break;
    case kPlaceholder:
      answer = equals(u"^");
      break;
    default:
      // Exact membership needs no collation and gives the same answer, since
      // equal units always compare equal.
      answer = allowed_.find(u) != std::u16string_view::npos;
      for (std::size_t j = 0; !answer && j < allowed_.size(); ++j) answer = equals(allowed_.substr(j, 1));
      break;
  }
  std::uint8_t& slot = Slot(u);
  slot = static_cast<std::uint8_t>(slot | (bit << 4) | (answer ? bit : 0));
  return answer;
}

}  // namespace pigmo::restriction
