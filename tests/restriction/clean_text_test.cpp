// Worked tables pin the production code and the oracle alike; the fuzz corpus (fuzz.clean_text) then compares the two.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "restriction/clean_text.h"
#include "restriction/clean_text_oracle.h"

namespace pigmo::restriction {

void PrintTo(const Cleaned& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.text.substr(0, 60)) << (c.text.size() > 60 ? "..." : "") << " caret " << c.caret;
}

namespace {

using runtime::ErrorKind;
using runtime::Locale;
using Outcome = std::variant<Cleaned, ErrorKind>;

const std::u16string kDigitsDot = u"0123456789.", kDigits = u"0123456789";
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr auto kOverflow = ErrorKind::kOverflow, kInvalid = ErrorKind::kInvalidArgument;

const std::tuple<const char*, decltype(&CleanText), decltype(&InstrPrev)> kImplementations[] = {
    {"production", &CleanText, &InstrPrev}, {"oracle", &oracle::CleanText, &oracle::InstrPrev}};

// One point and one comma locale; only their text comparison matters here.
const std::vector<Locale> kLocales = {Locale::Named("en_US"), Locale::Named("de_DE")};

struct Input {
  std::u16string text;
  std::int32_t caret;
  std::u16string allowed = kDigitsDot, delimiter = u".";
};

std::string Call(const Input& in) {
  return "CleanText(" + ::testing::PrintToString(in.text.substr(0, 60)) + ", " + std::to_string(in.caret) + ", " +
         ::testing::PrintToString(in.allowed) + ", " + ::testing::PrintToString(in.delimiter) + ")";
}

Outcome Clean(decltype(&CleanText) fn, const Input& in, const Locale& locale) {
  try {
    return fn(in.text, in.caret, in.allowed, in.delimiter, locale);
  } catch (const runtime::Error& e) {
    return e.kind();
  }
}

TEST(InstrPrevTest, FindsTheLastOccurrenceWithinThePrefix) {
  const std::tuple<std::u16string, std::u16string, std::int32_t, std::int32_t> rows[] = {
      {u"1.2.3", u".", 3, 2}, {u"1.2.3", u".", 1, 0}, {u"1.2.3", u".", 0, 0}, {u"1.2.3", u".", kInt32Max, 4},
      {u"ab..", u"..", 3, 0}, {u"ab..", u"..", 4, 3}, {u"aBab", u"AB", 4, 3}, {u"aBab", u"AB", 3, 1},
      {u"x.", u".", 2, 2},    {u"...", u"..", 3, 2},  {u"ab", u"abc", 9, 0},  {u"1.2.3", u"", 5, 0},
      {u"", u".", 7, 0},
  };
  for (const Locale& locale : kLocales) {
    for (const auto& [name, clean, instr_prev] : kImplementations) {
      for (const auto& [text, match, last_pos, expected] : rows) {
        EXPECT_EQ(instr_prev(text, match, last_pos, locale), expected)
            << name << " in " << locale.Name() << ": " << ::testing::PrintToString(text + u" " + match) << " "
            << last_pos;
      }
      for (const std::int32_t last_pos : {-1, std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_THROW(instr_prev(u"1.2", u".", last_pos, locale), runtime::Error);
      }
    }
  }
}

struct CleanRow {
  std::u16string text;
  std::int32_t caret;
  Outcome expected;
  std::u16string allowed = kDigitsDot, delimiter = u".";
  Input In() const { return {text, caret, allowed, delimiter}; }
};

void ExpectRows(const std::vector<CleanRow>& rows, const Locale& locale) {
  for (const auto& [name, clean, instr_prev] : kImplementations) {
    for (const CleanRow& row : rows) {
      EXPECT_EQ(Clean(clean, row.In(), locale), row.expected)
          << name << " in " << locale.Name() << ": " << Call(row.In());
    }
  }
}

Cleaned Ok(std::u16string text, std::int32_t caret) { return Cleaned{std::move(text), caret}; }

TEST(CleanTextTest, GivesTheWorkedResults) {
  const std::u16string x = u"0123456789x", colons = u"0123456789::";
  const std::vector<CleanRow> rows = {
      {u"1,2.3", 5, Ok(u"12.3", 4)},
      {u"1.2.34", 2, Ok(u"1.234", 2)},
      {u"a,b,c", 0, Ok(u"a.bc", 0)},
      {u"1a2", 3, Ok(u"12", 2)},
      {u"ab", 2, Ok(u"", 0)},
      {u".", 1, Ok(u"0.", 2)},
      {u"..", 0, Ok(u"0.", 1)},
      {u"x.y", 3, Ok(u"0.", 2)},
      {u"1^2.3", 0, Ok(u"1.2.3", 0)},
      {u"1^2^3", 5, Ok(u"1.2.3", 5)},
      {u"1^2.3^4", 5, Ok(u"12.3^4", 4)},
      // Positions past the end hold the empty text, which is allowed.
      {u"", 5, Ok(u"", 5)},
      {u"1a", 5, Ok(u"1", 4)},
      {u".", 3, Ok(u"0.", 4)},
      // The fallback delimiter "^": no delimiter survives.
      {u"1,2^3", 5, Ok(u"123", 3), kDigits, u"^"},
      {u"^5", 2, Ok(u"5", 1), kDigits, u"^"},
      {u"1^2^3", 0, Ok(u"123", 0), kDigits, u"^"},
      // Case and width variants match through the locale (the survivor is written as the delimiter), accents do not.
      {u"1X2x3", 0, Ok(u"1x23", 0), x, u"x"},
      {u"1X2x3", 5, Ok(u"12x3", 4), x, u"x"},
      {u"X5", 0, Ok(u"0x5", 1), x, u"x"},
      {u"ABCd", 4, Ok(u"ABC", 3), u"abc."},
      {u"\uFF112", 2, Ok(u"\uFF112", 2)},
      {u"1\uFF0E2.3", 0, Ok(u"1.23", 0)},
      {u"1\uFF0C2", 3, Ok(u"1.2", 3)},
      {u"1\uFF3E2", 0, Ok(u"1.2", 0)},
      {u"\u00E4a1", 3, Ok(u"a1", 2), u"0123456789a."},
      // Several code units: the tail restarts inside the survivor; "0" only when the first unit alone is the delimiter.
      {u"1::2::3", 4, Ok(u"1:::23", 4), colons, u"::"},
      {u"1,2a", 4, Ok(u"1:::2a", 4), colons, u"::"},
      {u"::5", 0, Ok(u"::5", 0), colons, u"::"},
      {u"1.2", -1, kInvalid},
      {u"", std::numeric_limits<std::int32_t>::min(), kInvalid},
      {u"1.2", 3, kInvalid, kDigitsDot, u""},
  };
  for (const Locale& locale : kLocales) ExpectRows(rows, locale);
}

std::u16string Digits(std::size_t count) {
  std::u16string s(count, u'0');
  for (std::size_t k = 0; k < count; ++k) s[k] = static_cast<char16_t>(u'0' + k % 10);
  return s;
}

// The 16-bit scan index overflows on reaching position 32,767; carets near the 32-bit limit overflow, not wrap.
TEST(CleanTextTest, OverflowsExactlyWhenTheScanReachesPosition32767) {
  for (const std::u16string d : {u".", u"::"}) {
    std::vector<CleanRow> table = {
        {Digits(32767), 32767, kOverflow},
        {Digits(32766), 32766, Ok(Digits(32766), 32766)},
        // Position 32,767 fails even when its character would be removed.
        {Digits(32766) + u"x", 32767, kOverflow},
        {u"x" + Digits(32767), 32768, kOverflow},
        {u"xy" + Digits(32766), 32768, Ok(Digits(32766), 32766)},
        {u"1", 32766, Ok(u"1", 32766)},
        {u"1", 32767, kOverflow},
        {u"", kInt32Max, kOverflow},
        {u"5" + d, kInt32Max, kOverflow},
        {u"5" + d + d + u"5", kInt32Max - 1, kOverflow},
        {Digits(32765) + u"ab", 32767, Ok(Digits(32765), 32765)},
        {Digits(40000), 32766, Ok(Digits(40000), 32766)},
    };
    if (d == u".") table.push_back({u"." + Digits(32765), 32766, Ok(u"0." + Digits(32765), 32767)});
    for (CleanRow& row : table) {
      row.allowed = kDigits + d;
      row.delimiter = d;
    }
    ExpectRows(table, kLocales[0]);
  }
}

}  // namespace
}  // namespace pigmo::restriction
