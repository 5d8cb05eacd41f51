// The numeric text filter.
//
// Matching: an occurrence of a pattern at position i is the substring of the
// same number of code units starting at i that compares equal to the pattern
// under Locale::TextEquals. A character is allowed when it compares equal to
// one of the allowed text's single code units; the empty text (what a
// position beyond the end of the text holds) counts as allowed, so a caret
// beyond the end removes nothing there and the scan only walks on.
//
// Nearly every comparison the rule makes is one code unit against a fixed
// text (",", "^", the delimiter, the allowed units). Collation is the slow
// part, so each such answer is worked out once per call and remembered per
// code unit; everything else is a few linear passes over the text. The
// results, carets and errors are those of the step-by-step rule.
#include "restriction/clean_text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <unordered_map>

#include "runtime/error.h"

namespace pigmo::restriction {
namespace {

using runtime::ErrorKind;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
// The scan index is a 16-bit integer: stepping past this position overflows.
constexpr std::int32_t kLastScanPosition = std::numeric_limits<std::int16_t>::max();

std::int32_t Checked(std::int64_t value, const char* what) {
  if (value > kInt32Max || value < kInt32Min) runtime::Raise(ErrorKind::kOverflow, what);
  return static_cast<std::int32_t>(value);
}

std::int32_t Add(std::int32_t a, std::int32_t b, const char* what) {
  return Checked(std::int64_t{a} + b, what);
}

std::int32_t Sub(std::int32_t a, std::int32_t b, const char* what) {
  return Checked(std::int64_t{a} - b, what);
}

std::int32_t Length(std::u16string_view s) {
  if (s.size() > static_cast<std::size_t>(kInt32Max)) {
    runtime::Raise(ErrorKind::kOverflow, "text longer than a 32-bit length");
  }
  return static_cast<std::int32_t>(s.size());
}

// One yes/no answer per code unit, computed on first use.
class UnitMemo {
 public:
  UnitMemo() { low_.fill(kUnknown); }

  template <class Compute>
  bool Get(char16_t unit, Compute&& compute) {
    if (unit < low_.size()) {
      auto& slot = low_[unit];
      if (slot == kUnknown) slot = compute(unit) ? 1 : 0;
      return slot == 1;
    }
    const auto found = high_.find(unit);
    if (found != high_.end()) return found->second;
    const bool answer = compute(unit);
    high_.emplace(unit, answer);
    return answer;
  }

 private:
  static constexpr std::int8_t kUnknown = -1;
  std::array<std::int8_t, 256> low_{};
  std::unordered_map<char16_t, bool> high_;
};

// "Does this one code unit equal `text`?" under the locale, remembered.
class UnitEquals {
 public:
  UnitEquals(const runtime::Locale& locale, std::u16string_view text) : locale_(locale), text_(text) {}

  bool operator()(char16_t unit) {
    return memo_.Get(unit, [this](char16_t u) {
      return locale_.TextEquals(std::u16string_view(&u, 1), text_);
    });
  }

 private:
  const runtime::Locale& locale_;
  std::u16string_view text_;
  UnitMemo memo_;
};

// Finds occurrences of one pattern. A one-unit pattern goes through the
// memo; a longer one compares each window of its length.
class PatternMatcher {
 public:
  PatternMatcher(const runtime::Locale& locale, std::u16string_view pattern)
      : locale_(locale), pattern_(pattern), unit_(locale, pattern) {}

  std::size_t size() const { return pattern_.size(); }

  // True when the pattern occurs at 0-based index k of s (wholly inside s).
  bool At(std::u16string_view s, std::size_t k) {
    const std::size_t m = pattern_.size();
    if (m == 0 || k > s.size() || s.size() - k < m) return false;
    if (m == 1) return unit_(s[k]);
    return locale_.TextEquals(s.substr(k, m), pattern_);
  }

  // The 0-based index of the last occurrence lying wholly within the first
  // `prefix` units of s, or npos.
  std::size_t LastWithin(std::u16string_view s, std::size_t prefix) {
    const std::size_t m = pattern_.size();
    if (m == 0 || prefix < m) return std::u16string_view::npos;
    const std::u16string_view head = s.substr(0, prefix);
    for (std::size_t k = prefix - m + 1; k-- > 0;) {
      if (At(head, k)) return k;
    }
    return std::u16string_view::npos;
  }

  // Every occurrence, searched left to right without overlap, replaced by
  // `replacement`; at most `limit` of them when limit is not npos.
  std::u16string Replace(std::u16string_view s, std::u16string_view replacement,
                         std::size_t limit = std::u16string_view::npos) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t done = 0;
    std::size_t k = 0;
    while (k < s.size()) {
      if (done < limit && At(s, k)) {
        out.append(replacement);
        k += pattern_.size();
        ++done;
      } else {
        out.push_back(s[k]);
        ++k;
      }
    }
    return out;
  }

 private:
  const runtime::Locale& locale_;
  std::u16string_view pattern_;
  UnitEquals unit_;
};

// "Does this code unit occur in the allowed set?", remembered. Exact
// membership is tried first: it needs no collation and gives the same
// answer, since equal units always compare equal.
class AllowedSet {
 public:
  AllowedSet(const runtime::Locale& locale, std::u16string_view allowed)
      : locale_(locale), allowed_(allowed) {}

  bool operator()(char16_t unit) {
    return memo_.Get(unit, [this](char16_t u) {
      if (allowed_.find(u) != std::u16string_view::npos) return true;
      for (const char16_t a : allowed_) {
        if (locale_.TextEquals(std::u16string_view(&u, 1), std::u16string_view(&a, 1))) return true;
      }
      return false;
    });
  }

 private:
  const runtime::Locale& locale_;
  std::u16string_view allowed_;
  UnitMemo memo_;
};

}  // namespace

std::int32_t InstrPrev(std::u16string_view Text, std::u16string_view sMatch, std::int32_t LastPos,
                       const runtime::Locale& locale) {
  if (LastPos < 0) runtime::Raise(ErrorKind::kInvalidArgument, "InstrPrev: negative LastPos");
  // An empty sMatch is never found: there is no character at which it could
  // be said to begin, and the cleaning rule never asks for it.
  if (sMatch.empty()) return 0;
  const std::size_t prefix = std::min(static_cast<std::size_t>(LastPos), Text.size());
  PatternMatcher match(locale, sMatch);
  const std::size_t k = match.LastWithin(Text, prefix);
  return k == std::u16string_view::npos ? 0 : Checked(static_cast<std::int64_t>(k) + 1, "InstrPrev");
}

Cleaned CleanText(std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
                  std::u16string_view delimiter, const runtime::Locale& locale) {
  if (caret < 0) runtime::Raise(ErrorKind::kInvalidArgument, "CleanText: negative caret");
  // An empty delimiter has no first occurrence to keep; the binding always
  // passes one ("^" at the least).
  if (delimiter.empty()) runtime::Raise(ErrorKind::kInvalidArgument, "CleanText: empty delimiter");
  Length(text);  // lengths and positions are 32-bit

  PatternMatcher comma(locale, u",");
  PatternMatcher delim(locale, delimiter);
  PatternMatcher placeholder(locale, u"^");
  UnitEquals starts_with_delim(locale, delimiter);
  AllowedSet is_allowed(locale, allowed);

  // Commas become the delimiter; the caret stays where it was.
  std::u16string s = comma.Replace(text, delimiter);
  std::int32_t n = caret;

  // The last delimiter before the caret, 1-based, or 0.
  const std::size_t last = delim.LastWithin(s, std::min(static_cast<std::size_t>(n), s.size()));
  const std::int32_t p =
      last == std::u16string_view::npos ? 0 : Checked(static_cast<std::int64_t>(last) + 1, "position");

  if (p != 0) {
    // That delimiter survives; every other one goes, and the caret moves
    // left by the number taken out in front of it.
    const std::int32_t before = Sub(p, 1, "p - 1");
    std::u16string head = delim.Replace(std::u16string_view(s).substr(0, static_cast<std::size_t>(before)), u"");
    n = Sub(Add(Length(head), n, "caret correction"), before, "caret correction");
    const std::int32_t after = Add(p, 1, "p + 1");
    const std::u16string_view rest =
        static_cast<std::size_t>(after - 1) <= s.size()
            ? std::u16string_view(s).substr(static_cast<std::size_t>(after - 1))
            : std::u16string_view();
    head.append(delimiter);
    head.append(delim.Replace(rest, u""));
    s = std::move(head);
  } else {
    // The first delimiter in the text survives through the "^" placeholder;
    // every "^" of the text becomes a delimiter with it.
    s = delim.Replace(s, u"^", 1);
    s = delim.Replace(s, u"");
    s = placeholder.Replace(s, delimiter);
  }

  // The scan before the caret, in one pass. Position i is always one past
  // the characters kept so far; a removal pulls the caret back instead.
  {
    std::size_t read = 0;
    std::size_t kept = 0;
    while (static_cast<std::int64_t>(kept) + 1 <= n) {
      if (kept + 1 == static_cast<std::size_t>(kLastScanPosition)) {
        runtime::Raise(ErrorKind::kOverflow, "CleanText: scan index past 32767");
      }
      if (read == s.size()) {
        // Beyond the end every position holds the empty text, which is
        // allowed: the scan walks on up to the caret without changing
        // anything, unless the walk itself overflows.
        if (n >= kLastScanPosition) {
          runtime::Raise(ErrorKind::kOverflow, "CleanText: scan index past 32767");
        }
        break;
      }
      const char16_t unit = s[read++];
      if (is_allowed(unit)) {
        s[kept++] = unit;
      } else {
        n = Sub(n, 1, "n - 1");
      }
    }
    s.erase(kept, read - kept);
  }

  if (!s.empty() && starts_with_delim(s[0])) {
    n = Add(n, 1, "n + 1");
    s.insert(s.begin(), u'0');
  }
  return Cleaned{std::move(s), n};
}

}  // namespace pigmo::restriction
