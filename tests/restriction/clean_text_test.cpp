// The numeric text filter and InstrPrev: worked examples, edge cases and the
// limits of the scan, each checked on the production code and on the oracle.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "restriction/clean_text_test_support.h"

namespace pigmo::restriction {
namespace {

using runtime::ErrorKind;
using testing::Clean;
using testing::Err;
using testing::kImplementations;
using testing::kLocales;
using testing::LocaleNamed;
using testing::Ok;
using testing::Outcome;
using testing::Show;

constexpr std::u16string_view kDigitsDot = u"0123456789.";
constexpr std::u16string_view kDigits = u"0123456789";
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// ---------------------------------------------------------------- InstrPrev

struct InstrPrevRow {
  std::u16string text;
  std::u16string match;
  std::int32_t last_pos;
  std::int32_t expected;
};

class InstrPrevTable : public ::testing::TestWithParam<InstrPrevRow> {};

TEST_P(InstrPrevTable, FindsTheLastOccurrenceWithinThePrefix) {
  const InstrPrevRow& row = GetParam();
  for (const char* locale : kLocales) {
    for (const auto& impl : kImplementations) {
      SCOPED_TRACE(std::string(impl.name) + " in " + locale);
      EXPECT_EQ(impl.instr_prev(row.text, row.match, row.last_pos, LocaleNamed(locale)), row.expected)
          << "InstrPrev(" << Show(row.text) << ", " << Show(row.match) << ", " << row.last_pos << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, InstrPrevTable,
    ::testing::Values(InstrPrevRow{u"1.2.3", u".", 3, 2}, InstrPrevRow{u"1.2.3", u".", 5, 4},
                      InstrPrevRow{u"1.2.3", u".", 1, 0}, InstrPrevRow{u"1.2.3", u".", 0, 0},
                      InstrPrevRow{u"1.2.3", u".", 99, 4}, InstrPrevRow{u"ab..", u"..", 3, 0},
                      InstrPrevRow{u"ab..", u"..", 4, 3}, InstrPrevRow{u"abAB", u"b", 4, 4}));

INSTANTIATE_TEST_SUITE_P(
    Edges, InstrPrevTable,
    ::testing::Values(
        // An empty sMatch is never found.
        InstrPrevRow{u"1.2.3", u"", 5, 0}, InstrPrevRow{u"", u"", 0, 0},
        InstrPrevRow{u"", u".", 7, 0}, InstrPrevRow{u"1.2.3", u".", kInt32Max, 4},
        // Case is ignored for the match, both ways round.
        InstrPrevRow{u"aBab", u"AB", 4, 3}, InstrPrevRow{u"aBab", u"AB", 3, 1},
        // The occurrence that starts at LastPos exactly counts when it fits.
        InstrPrevRow{u"x.", u".", 2, 2}, InstrPrevRow{u"...", u"..", 3, 2},
        InstrPrevRow{u"...", u"..", 2, 1}, InstrPrevRow{u"...", u"..", 1, 0},
        // A pattern longer than the prefix is not found.
        InstrPrevRow{u"ab", u"abc", 9, 0}, InstrPrevRow{u"^", u"^", 1, 1}));

TEST(InstrPrevTest, NegativeLastPosIsAnInvalidArgument) {
  for (const auto& impl : kImplementations) {
    SCOPED_TRACE(impl.name);
    for (const std::int32_t last_pos : {-1, -2, std::numeric_limits<std::int32_t>::min()}) {
      try {
        impl.instr_prev(u"1.2.3", u".", last_pos, LocaleNamed("C"));
        ADD_FAILURE() << "no error for LastPos " << last_pos;
      } catch (const runtime::Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::kInvalidArgument);
      }
    }
  }
}

// ---------------------------------------------------------------- CleanText

struct CleanRow {
  std::u16string text;
  std::int32_t caret;
  std::u16string expected_text;
  std::int32_t expected_caret;
};

std::ostream& operator<<(std::ostream& os, const CleanRow& row) {
  return os << Show(row.text) << " caret " << row.caret;
}

void ExpectCleans(const CleanRow& row, std::u16string_view allowed, std::u16string_view delimiter,
                  const char* locale) {
  for (const auto& impl : kImplementations) {
    SCOPED_TRACE(std::string(impl.name) + " in " + locale);
    EXPECT_EQ(Clean(impl.clean, row.text, row.caret, allowed, delimiter, LocaleNamed(locale)),
              Ok(row.expected_text, row.expected_caret))
        << "CleanText(" << Show(row.text) << ", " << row.caret << ", " << Show(allowed) << ", "
        << Show(delimiter) << ")";
  }
}

class CleanWithDot : public ::testing::TestWithParam<CleanRow> {};

TEST_P(CleanWithDot, GivesTheWorkedResult) {
  for (const char* locale : kLocales) ExpectCleans(GetParam(), kDigitsDot, u".", locale);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CleanWithDot,
    ::testing::Values(CleanRow{u"1,2.3", 5, u"12.3", 4}, CleanRow{u"12,34,56", 8, u"1234.56", 7},
                      CleanRow{u"1.2.34", 2, u"1.234", 2}, CleanRow{u"1.23.", 5, u"123.", 4},
                      CleanRow{u"1..2", 2, u"1.2", 2}, CleanRow{u"5.2.7", 0, u"5.27", 0},
                      CleanRow{u"0,5000", 0, u"0.5000", 0}, CleanRow{u"0,5000", 6, u"0.5000", 6},
                      CleanRow{u".", 1, u"0.", 2}, CleanRow{u".5", 0, u"0.5", 1},
                      CleanRow{u"1a2", 3, u"12", 2}, CleanRow{u"1a2", 1, u"1a2", 1},
                      CleanRow{u"-0.0196", 7, u"0.0196", 6}, CleanRow{u"x.y", 3, u"0.", 2},
                      CleanRow{u"ab", 2, u"", 0}, CleanRow{u"1^2.3", 0, u"1.2.3", 0},
                      CleanRow{u"1^2.5", 2, u"1.2.5", 2}));

INSTANTIATE_TEST_SUITE_P(
    Edges, CleanWithDot,
    ::testing::Values(
        // Empty text: nothing to do, no "0" in front.
        CleanRow{u"", 0, u"", 0},
        // Caret 0: commas become the delimiter, the first one survives,
        // letters and signs stay, a leading delimiter gets "0".
        CleanRow{u"a,b,c", 0, u"a.bc", 0}, CleanRow{u",5", 0, u"0.5", 1},
        CleanRow{u"-1,2.3x", 0, u"-1.23x", 0}, CleanRow{u"..", 0, u"0.", 1},
        // Caret at the end: only allowed characters stay, the last delimiter
        // wins; without any delimiter every "^" becomes one and stays.
        CleanRow{u"1^2^3", 5, u"1.2.3", 5}, CleanRow{u"a1,2b.3c", 8, u"12.3", 4},
        CleanRow{u".,.", 3, u"0.", 2},
        // A comma typed before the caret acts as a typed delimiter.
        CleanRow{u"1.23,4", 5, u"123.4", 4}, CleanRow{u"1.23.4", 5, u"123.4", 4},
        CleanRow{u"1,2,3", 2, u"1.23", 2},
        // With a delimiter before the caret, a "^" before it is removed and
        // one after it stays.
        CleanRow{u"1^2.3^4", 5, u"12.3^4", 4},
        // The only delimiter, directly before the caret, stays in place.
        CleanRow{u"12.34", 3, u"12.34", 3}, CleanRow{u"12.", 3, u"12.", 3},
        // The caret moves left past every delimiter removed in front of it.
        CleanRow{u"1.2.3.4", 6, u"123.4", 4},
        // A removed character before the caret also pulls it back; the
        // next character is tested at the same position.
        CleanRow{u"aa1", 3, u"1", 1}, CleanRow{u"1--2", 4, u"12", 2},
        // The delimiter at the caret's left comes after the characters it
        // keeps; the text after the caret is not tested.
        CleanRow{u"ab.cd", 3, u"0.cd", 2},
        // A caret beyond the end: positions past the end hold the empty
        // text, which is allowed, so only real characters go.
        CleanRow{u"", 5, u"", 5}, CleanRow{u"12", 5, u"12", 5}, CleanRow{u"1a", 5, u"1", 4},
        CleanRow{u"1.2.", 9, u"12.", 8}, CleanRow{u".", 3, u"0.", 4},
        // A blank is not a digit.
        CleanRow{u"1 2", 3, u"12", 2}));

class CleanWithFallbackDelimiter : public ::testing::TestWithParam<CleanRow> {};

TEST_P(CleanWithFallbackDelimiter, GivesTheWorkedResult) {
  for (const char* locale : kLocales) ExpectCleans(GetParam(), kDigits, u"^", locale);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, CleanWithFallbackDelimiter,
                         ::testing::Values(CleanRow{u"1,2^3", 5, u"123", 3}, CleanRow{u"^5", 2, u"5", 1},
                                           CleanRow{u"1^2^3", 0, u"123", 0}, CleanRow{u"1,2", 3, u"12", 2}));

INSTANTIATE_TEST_SUITE_P(Edges, CleanWithFallbackDelimiter,
                         ::testing::Values(CleanRow{u"^", 0, u"", 0}, CleanRow{u"^,^", 3, u"", 0},
                                           CleanRow{u"1,2^3", 0, u"123", 0},
                                           // After the caret the delimiter goes too; letters stay.
                                           CleanRow{u"1^a,b", 1, u"1ab", 1}));

// Comparisons go through the locale: case and width variants match, other
// letters and accents do not.
struct LocaleCleanRow {
  CleanRow row;
  std::u16string allowed;
  std::u16string delimiter;
};

class CleanUsesTextComparison : public ::testing::TestWithParam<LocaleCleanRow> {};

TEST_P(CleanUsesTextComparison, MatchesLikeTheLocale) {
  for (const char* locale : kLocales) {
    ExpectCleans(GetParam().row, GetParam().allowed, GetParam().delimiter, locale);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanUsesTextComparison,
    ::testing::Values(
        // An upper-case delimiter matches the lower-case one, and the one
        // that survives is written as the delimiter itself.
        LocaleCleanRow{{u"1X2x3", 0, u"1x23", 0}, u"0123456789x", u"x"},
        LocaleCleanRow{{u"1X2x3", 5, u"12x3", 4}, u"0123456789x", u"x"},
        LocaleCleanRow{{u"X5", 0, u"0x5", 1}, u"0123456789x", u"x"},
        // Allowed letters match in either case.
        LocaleCleanRow{{u"ABCd", 4, u"ABC", 3}, u"abc.", u"."},
        // A full-width digit is a width variant of a digit and stays.
        LocaleCleanRow{{u"\uFF112", 2, u"\uFF112", 2}, u"0123456789.", u"."},
        // A full-width full stop and comma count as the delimiter and a
        // comma, and come out as "."; a full-width "^" counts as "^".
        LocaleCleanRow{{u"1\uFF0E2.3", 0, u"1.23", 0}, u"0123456789.", u"."},
        LocaleCleanRow{{u"1\uFF0C2", 3, u"1.2", 3}, u"0123456789.", u"."},
        LocaleCleanRow{{u"1\uFF3E2", 0, u"1.2", 0}, u"0123456789.", u"."},
        // An accented letter is not its base letter.
        LocaleCleanRow{{u"\u00E4a1", 3, u"a1", 2}, u"0123456789a.", u"."}));

// A text of allowed characters with at most one delimiter, not in front and
// no "," or "^", comes back unchanged wherever the caret stands.
TEST(CleanTextTest, CleanNumbersComeBackUnchangedAtEveryCaret) {
  for (const std::u16string text : {u"", u"0", u"123", u"12.5", u"0.5000", u"3.14159", u"7.", u"255"}) {
    for (std::int32_t caret = 0; caret <= static_cast<std::int32_t>(text.size()); ++caret) {
      for (const char* locale : kLocales) ExpectCleans(CleanRow{text, caret, text, caret}, kDigitsDot, u".", locale);
    }
  }
}

TEST(CleanTextTest, BadArgumentsAreInvalidArgumentErrors) {
  for (const auto& impl : kImplementations) {
    SCOPED_TRACE(impl.name);
    const auto& c = LocaleNamed("C");
    EXPECT_EQ(Clean(impl.clean, u"1.2", -1, kDigitsDot, u".", c), Err(ErrorKind::kInvalidArgument));
    EXPECT_EQ(Clean(impl.clean, u"", std::numeric_limits<std::int32_t>::min(), kDigitsDot, u".", c),
              Err(ErrorKind::kInvalidArgument));
    EXPECT_EQ(Clean(impl.clean, u"1.2", 3, kDigitsDot, u"", c), Err(ErrorKind::kInvalidArgument));
  }
}

// ------------------------------------------------------- limits of the scan

std::u16string Digits(std::size_t count) {
  std::u16string s(count, u'0');
  for (std::size_t k = 0; k < count; ++k) s[k] = static_cast<char16_t>(u'0' + k % 10);
  return s;
}

struct LimitRow {
  const char* what;
  std::u16string text;
  std::int32_t caret;
  Outcome expected;
};

class ScanLimit : public ::testing::TestWithParam<LimitRow> {};

TEST_P(ScanLimit, OverflowsExactlyWhenTheScanReachesPosition32767) {
  const LimitRow& row = GetParam();
  for (const auto& impl : kImplementations) {
    SCOPED_TRACE(impl.name);
    EXPECT_EQ(Clean(impl.clean, row.text, row.caret, kDigitsDot, u".", LocaleNamed("C")), row.expected)
        << row.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScanLimit,
    ::testing::Values(
        LimitRow{"32,767 digits, caret at the end", Digits(32767), 32767, Err(ErrorKind::kOverflow)},
        LimitRow{"32,766 digits, caret at the end", Digits(32766), 32766, Ok(Digits(32766), 32766)},
        LimitRow{"40,000 digits, caret at 32,766", Digits(40000), 32766, Ok(Digits(40000), 32766)},
        LimitRow{"32,767 digits, caret at 32,766", Digits(32767), 32766, Ok(Digits(32767), 32766)},
        LimitRow{"position 32,767 fails even when its character would be removed",
                 Digits(32766) + u"x", 32767, Err(ErrorKind::kOverflow)},
        LimitRow{"one removal still leaves position 32,767 before the caret", u"x" + Digits(32767), 32768,
                 Err(ErrorKind::kOverflow)},
        LimitRow{"two removals bring the caret back to 32,766", u"xy" + Digits(32766), 32768,
                 Ok(Digits(32766), 32766)},
        LimitRow{"removals at position 32,766 end the scan before 32,767", Digits(32765) + u"ab", 32767,
                 Ok(Digits(32765), 32765)},
        LimitRow{"only letters: the index never moves", std::u16string(32800, u'q'), 32800, Ok(u"", 0)},
        LimitRow{"a leading delimiter's 0 may take the caret to 32,767", u"." + Digits(32765), 32766,
                 Ok(u"0." + Digits(32765), 32767)},
        LimitRow{"caret beyond the end, up to 32,766", u"1", 32766, Ok(u"1", 32766)},
        LimitRow{"caret beyond the end, at 32,767", u"1", 32767, Err(ErrorKind::kOverflow)},
        LimitRow{"empty text, largest caret", u"", kInt32Max, Err(ErrorKind::kOverflow)},
        LimitRow{"caret correction leaves the 32-bit range", u"5.", kInt32Max, Err(ErrorKind::kOverflow)},
        LimitRow{"caret at 0 on a long text scans nothing", u"," + Digits(39999), 0,
                 Ok(u"0." + Digits(39999), 1)}),
    [](const auto& info) { return "Row" + std::to_string(info.index); });

}  // namespace
}  // namespace pigmo::restriction
