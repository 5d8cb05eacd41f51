// The numeric text filter step by step as the rule is written, to check the production code against: 1-based positions,
// checked 32-bit caret arithmetic, a 16-bit scan index, one character erased at a time, every comparison through
// Locale::TextEquals. Do not optimise it.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "restriction/clean_text.h"
#include "runtime/error.h"
#include "runtime/locale.h"

namespace pigmo::restriction::oracle {

using runtime::ErrorKind;

template <typename T>
T Checked(std::int64_t v) {
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) {
    runtime::Raise(ErrorKind::kOverflow, "oracle: overflow");
  }
  return static_cast<T>(v);
}
inline std::int32_t Add32(std::int32_t a, std::int32_t b) { return Checked<std::int32_t>(std::int64_t{a} + b); }
inline std::int32_t Sub32(std::int32_t a, std::int32_t b) { return Checked<std::int32_t>(std::int64_t{a} - b); }
inline std::int16_t Add16(std::int16_t a, std::int16_t b) { return Checked<std::int16_t>(std::int64_t{a} + b); }
inline std::int16_t Sub16(std::int16_t a, std::int16_t b) { return Checked<std::int16_t>(std::int64_t{a} - b); }
inline std::int32_t Len(std::u16string_view s) { return Checked<std::int32_t>(static_cast<std::int64_t>(s.size())); }

// The first k characters (all of s when k >= its length).
inline std::u16string_view Left(std::u16string_view s, std::int32_t k) {
  if (k < 0) runtime::Raise(ErrorKind::kInvalidArgument, "oracle: Left");
  return s.substr(0, static_cast<std::size_t>(k));
}

// `count` characters (all the rest by default) from 1-based position start; shorter or empty at the end.
inline std::u16string_view Mid(std::u16string_view s, std::int32_t start,
                               std::int32_t count = std::numeric_limits<std::int32_t>::max()) {
  if (start < 1 || count < 0) runtime::Raise(ErrorKind::kInvalidArgument, "oracle: Mid");
  if (start > Len(s)) return {};
  return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

// Occurrences of `find` (compared through the locale) from position 1, left to right without overlap, replaced by
// `repl`; at most `count` of them unless count is -1. Replaced text is not searched again.
inline std::u16string Replace(std::u16string_view s, std::u16string_view find, std::u16string_view repl,
                              const runtime::Locale& locale, std::int32_t count = -1) {
  std::u16string out;
  std::int32_t done = 0, i = 1;
  while (i <= Len(s)) {
    if (!find.empty() && (count == -1 || done < count) && Add32(Sub32(i, 1), Len(find)) <= Len(s) &&
        locale.TextEquals(Mid(s, i, Len(find)), find)) {
      out += repl;
      i = Add32(i, Len(find));
      done = Add32(done, 1);
    } else {
      out += Mid(s, i, 1);
      i = Add32(i, 1);
    }
  }
  return out;
}

// The empty text (what a position beyond the end holds) occurs in every text, so it is allowed.
inline bool InAllowed(std::u16string_view allowed, std::u16string_view ch, const runtime::Locale& locale) {
  if (ch.empty()) return true;
  for (std::int32_t j = 1; j <= Len(allowed); j = Add32(j, 1)) {
    if (locale.TextEquals(ch, Mid(allowed, j, 1))) return true;
  }
  return false;
}

inline std::int32_t InstrPrev(std::u16string_view Text, std::u16string_view sMatch, std::int32_t LastPos,
                              const runtime::Locale& locale) {
  if (LastPos < 0) runtime::Raise(ErrorKind::kInvalidArgument, "oracle: negative LastPos");
  if (sMatch.empty()) return 0;
  // 1. The first LastPos characters.
  const std::u16string_view prefix = Left(Text, LastPos);
  // 2. From the end of that prefix backwards, the first start whose occurrence fits wholly inside it.
  for (std::int32_t i = Add32(Sub32(Len(prefix), Len(sMatch)), 1); i >= 1; i = Sub32(i, 1)) {
    if (locale.TextEquals(Mid(prefix, i, Len(sMatch)), sMatch)) return i;
  }
  return 0;
}

inline Cleaned CleanText(std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
                         std::u16string_view delimiter, const runtime::Locale& locale) {
  if (caret < 0) runtime::Raise(ErrorKind::kInvalidArgument, "oracle: negative caret");
  if (delimiter.empty()) runtime::Raise(ErrorKind::kInvalidArgument, "oracle: empty delimiter");

  std::u16string s(text);  // 1.
  std::int32_t n = caret;
  Len(s);
  s = Replace(s, u",", delimiter, locale);                    // 2. every "," becomes the delimiter
  const std::int32_t p = InstrPrev(s, delimiter, n, locale);  // 3. the last delimiter before the caret
  if (p != 0) {
    const std::u16string head = Replace(Left(s, Sub32(p, 1)), delimiter, u"", locale);            // 4.1
    n = Sub32(Add32(Len(head), n), Sub32(p, 1));                                                  // 4.2
    s = head + std::u16string(delimiter) + Replace(Mid(s, Add32(p, 1)), delimiter, u"", locale);  // 4.3
  } else {
    s = Replace(s, delimiter, u"^", locale, 1);  // 5.1
    s = Replace(s, delimiter, u"", locale);      // 5.2
    s = Replace(s, u"^", delimiter, locale);     // 5.3
  }
  // 6. The scan, with its 16-bit index stepping on both branches.
  std::int16_t i = 1;
  while (i <= n) {
    if (InAllowed(allowed, Mid(s, i, 1), locale)) {
      i = Add16(i, 1);
    } else {
      s = std::u16string(Left(s, Sub16(i, 1))).append(Mid(s, Add16(i, 1)));
      n = Sub32(n, 1);
    }
  }
  if (Len(s) > 0 && locale.TextEquals(Left(s, 1), delimiter)) {  // 7.
    s = u"0" + s;
    n = Add32(n, 1);
  }
  return Cleaned{s, n};  // 8.
}

}  // namespace pigmo::restriction::oracle
