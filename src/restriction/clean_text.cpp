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
// text, answered once per code unit by UnitAnswers. With a one-unit
// delimiter (the only kind the binding passes) the whole rule is then one
// pass over the text; longer delimiters take the steps one by one. The
// results, carets and errors are those of the step-by-step rule.
#include "restriction/clean_text.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "restriction/unit_answers.h"
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

std::int32_t Add(std::int32_t a, std::int32_t b, const char* what) { return Checked(std::int64_t{a} + b, what); }

std::int32_t Sub(std::int32_t a, std::int32_t b, const char* what) { return Checked(std::int64_t{a} - b, what); }

std::int32_t Length(std::u16string_view s) {
  if (s.size() > static_cast<std::size_t>(kInt32Max)) {
    runtime::Raise(ErrorKind::kOverflow, "text longer than a 32-bit length");
  }
  return static_cast<std::int32_t>(s.size());
}

[[noreturn]] void ScanOverflow() { runtime::Raise(ErrorKind::kOverflow, "CleanText: scan index past 32767"); }

// Removes the characters before the caret n that are not allowed, in one
// pass, and returns the new caret. Position i of the rule is always one past
// the characters kept so far; a removal pulls the caret back instead.
std::int32_t ScanBeforeCaret(std::u16string& s, std::int32_t n, UnitAnswers& units) {
  const std::size_t size = s.size();
  char16_t* const data = s.data();
  std::size_t read = 0;
  std::size_t kept = 0;
  while (static_cast<std::int64_t>(kept) < n) {
    if (kept + 1 == static_cast<std::size_t>(kLastScanPosition)) ScanOverflow();
    if (read == size) {
      // Beyond the end every position holds the empty text, which is
      // allowed: the scan walks on up to the caret without changing
      // anything, unless the walk itself overflows.
      if (n >= kLastScanPosition) ScanOverflow();
      break;
    }
    const char16_t unit = data[read++];
    if (units.Allowed(unit)) {
      data[kept++] = unit;
    } else {
      --n;  // n > kept >= 0 here
    }
  }
  s.erase(kept, read - kept);
  return n;
}

// A text that begins with the delimiter gets "0" in front.
void PrefixZero(std::u16string& s, std::int32_t& n, UnitAnswers& units) {
  if (!s.empty() && units.Delimiter(s[0])) {
    n = Add(n, 1, "n + 1");
    s.insert(s.begin(), u'0');
  }
}

// Writes the units the rule keeps (commas read as the delimiter, the other
// delimiters dropped, a leading "0" where it is due), scanning those that stand
// before the caret as they come: such a unit is examined at position
// written + 1 with a 16-bit index, and kept only when allowed.
struct ScanningWriter {
  char16_t* data;
  UnitAnswers& units;
  std::size_t written = 0;
  std::int32_t removed = 0;

  // A unit after the caret.
  void Put(char16_t unit) { data[written++] = unit; }

  // A unit before the caret, whose allowed-answer is known.
  void Scan(char16_t unit, bool allowed) {
    if (written + 1 == static_cast<std::size_t>(kLastScanPosition)) ScanOverflow();
    if (allowed) {
      data[written++] = unit;
    } else {
      ++removed;
    }
  }
  void Scan(char16_t unit) { Scan(unit, units.Allowed(unit)); }
};

// The rule for a delimiter of one code unit, which is what the binding
// always passes, in a single pass over the text. Commas are read as the
// delimiter on the fly. The units that the rule keeps before the caret
// are exactly those that come from before the caret (the surviving delimiter
// stands there, and nothing between it and the caret is removed), so each
// unit is scanned as soon as it is produced; each one dropped pulls the
// caret back by one.
Cleaned CleanWithUnitDelimiter(std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
                               char16_t delimiter, const runtime::Locale& locale) {
  UnitAnswers units(locale, allowed, std::u16string_view(&delimiter, 1));
  const std::size_t size = text.size();
  // Units from index `scanned_end` on stand at or after the caret.
  const std::size_t scanned_end = std::min(static_cast<std::size_t>(caret), size);

  // The last delimiter (or comma) before the caret, 0-based, or npos.
  std::size_t last = std::u16string_view::npos;
  for (std::size_t k = scanned_end; k-- > 0;) {
    if (units.Separator(text[k])) {
      last = k;
      break;
    }
  }

  std::u16string s(size, u'\0');  // the result is never longer, before the "0"
  ScanningWriter out{s.data(), units};
  std::int32_t n = caret;
  if (last != std::u16string_view::npos) {
    // That delimiter survives; every other one goes, and the caret moves
    // left by the number taken out in front of it.
    for (std::size_t k = 0; k < last; ++k) {
      const std::uint8_t answers = units.Answers(text[k], UnitAnswers::kSeparator | UnitAnswers::kAllowed);
      if ((answers & UnitAnswers::kSeparator) == 0) out.Scan(text[k], (answers & UnitAnswers::kAllowed) != 0);
    }
    const auto head = static_cast<std::int32_t>(out.written) + out.removed;
    const auto before = static_cast<std::int32_t>(last);  // p - 1
    n = Sub(Add(head, n, "caret correction"), before, "caret correction");
    Add(before, 2, "p + 1");
    out.Scan(delimiter);
    // Up to the caret there is no delimiter left to take out.
    for (std::size_t k = last + 1; k < scanned_end; ++k) out.Scan(text[k]);
    for (std::size_t k = scanned_end; k < size; ++k) {
      if (!units.Separator(text[k])) out.Put(text[k]);
    }
  } else {
    // The first delimiter in the text survives through the "^" placeholder
    // (unless the delimiter itself equals "^", which then removes it), and
    // every "^" of the text becomes a delimiter with it. Up to the caret
    // there is no delimiter, so the first one is never scanned.
    for (std::size_t k = 0; k < scanned_end; ++k) {
      const std::uint8_t answers = units.Answers(text[k], UnitAnswers::kPlaceholder | UnitAnswers::kAllowed);
      if ((answers & UnitAnswers::kPlaceholder) != 0) {
        out.Scan(delimiter);
      } else {
        out.Scan(text[k], (answers & UnitAnswers::kAllowed) != 0);
      }
    }
    const bool placeholder_survives = !units.Delimiter(u'^');
    bool first = true;
    for (std::size_t k = scanned_end; k < size; ++k) {
      const char16_t unit = text[k];
      if (units.Separator(unit)) {
        if (first && placeholder_survives) out.Put(delimiter);
        first = false;
      } else {
        out.Put(units.Placeholder(unit) ? delimiter : unit);
      }
    }
  }
  s.resize(out.written);
  n -= out.removed;  // removed <= n: every removal was of a unit before the caret

  // A caret beyond the end: those positions hold the empty text, which is
  // allowed, so the scan walks on up to the caret without changing anything,
  // unless the walk reaches position 32,767.
  if (static_cast<std::int64_t>(out.written) < n && n >= kLastScanPosition) ScanOverflow();

  PrefixZero(s, n, units);
  return Cleaned{std::move(s), n};
}

// The slow path, for delimiters of several code units, which the system
// never uses: the rule step by step, window by window.

// True when `pattern` occurs at 0-based index k of s, wholly inside it.
bool MatchAt(std::u16string_view s, std::size_t k, std::u16string_view pattern, const runtime::Locale& locale) {
  return k <= s.size() && s.size() - k >= pattern.size() && locale.TextEquals(s.substr(k, pattern.size()), pattern);
}

// The 0-based index of the last occurrence lying wholly within the first
// `prefix` units of s, or npos.
std::size_t LastWithin(std::u16string_view s, std::size_t prefix, std::u16string_view pattern,
                       const runtime::Locale& locale) {
  if (prefix < pattern.size()) return std::u16string_view::npos;
  for (std::size_t k = prefix - pattern.size() + 1; k-- > 0;) {
    if (MatchAt(s.substr(0, prefix), k, pattern, locale)) return k;
  }
  return std::u16string_view::npos;
}

// Occurrences searched left to right without overlap, the first `limit` of
// them replaced.
std::u16string Replace(std::u16string_view s, std::u16string_view pattern, std::u16string_view replacement,
                       const runtime::Locale& locale, std::size_t limit = std::u16string_view::npos) {
  std::u16string out;
  for (std::size_t k = 0; k < s.size();) {
    if (limit > 0 && MatchAt(s, k, pattern, locale)) {
      out.append(replacement);
      k += pattern.size();
      --limit;
    } else {
      out.push_back(s[k++]);
    }
  }
  return out;
}

// A function of its own (noinline), so that the fast path compiles as tight
// as it does alone.
[[gnu::noinline]] Cleaned CleanWithTextDelimiter(std::u16string_view text, std::int32_t n, std::u16string_view allowed,
                                                 std::u16string_view delimiter, const runtime::Locale& locale) {
  // Commas become the delimiter; the caret stays where it was.
  std::u16string s = Replace(text, u",", delimiter, locale);
  // The last delimiter before the caret, 0-based, survives; else the first one.
  const std::size_t last = LastWithin(s, std::min(static_cast<std::size_t>(n), s.size()), delimiter, locale);
  if (last != std::u16string_view::npos) {
    const std::int32_t p = Checked(static_cast<std::int64_t>(last) + 1, "position");  // 1-based
    std::u16string head = Replace(std::u16string_view(s).substr(0, last), delimiter, u"", locale);
    n = Sub(Add(Length(head), n, "caret correction"), p - 1, "caret correction");
    // The tail restarts one unit into the surviving delimiter.
    Add(p, 1, "p + 1");
    head.append(delimiter);
    head.append(Replace(std::u16string_view(s).substr(last + 1), delimiter, u"", locale));
    s = std::move(head);
  } else {
    s = Replace(Replace(s, delimiter, u"^", locale, 1), delimiter, u"", locale);
    s = Replace(s, u"^", delimiter, locale);
  }
  UnitAnswers units(locale, allowed, delimiter);
  n = ScanBeforeCaret(s, n, units);
  PrefixZero(s, n, units);
  return Cleaned{std::move(s), n};
}

}  // namespace

std::int32_t InstrPrev(std::u16string_view Text, std::u16string_view sMatch, std::int32_t LastPos,
                       const runtime::Locale& locale) {
  if (LastPos < 0) runtime::Raise(ErrorKind::kInvalidArgument, "InstrPrev: negative LastPos");
  // An empty sMatch is never found: there is no character at which it could
  // be said to begin, and the cleaning rule never asks for it.
  if (sMatch.empty()) return 0;
  const std::size_t prefix = std::min(static_cast<std::size_t>(LastPos), Text.size());
  const std::size_t k = LastWithin(Text, prefix, sMatch, locale);
  return k == std::u16string_view::npos ? 0 : Checked(static_cast<std::int64_t>(k) + 1, "InstrPrev");
}

Cleaned CleanText(std::u16string_view text, std::int32_t caret, std::u16string_view allowed,
                  std::u16string_view delimiter, const runtime::Locale& locale) {
  if (caret < 0) runtime::Raise(ErrorKind::kInvalidArgument, "CleanText: negative caret");
  // An empty delimiter has no first occurrence to keep; the binding always
  // passes one ("^" at the least).
  if (delimiter.empty()) runtime::Raise(ErrorKind::kInvalidArgument, "CleanText: empty delimiter");
  Length(text);  // lengths and positions are 32-bit
  if (delimiter.size() == 1) return CleanWithUnitDelimiter(text, caret, allowed, delimiter[0], locale);
  return CleanWithTextDelimiter(text, caret, allowed, delimiter, locale);
}

}  // namespace pigmo::restriction
