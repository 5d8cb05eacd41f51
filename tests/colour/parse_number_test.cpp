#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "colour/colour_rules.h"
#include "colour_test_support.h"

namespace pigmo::colour {
namespace {

using runtime::ErrorKind;
using runtime::Locale;
using testing::ErrorOf;
using testing::Localised;
using testing::Repeat;

// The locales every table runs in, including separators of more than one
// code unit.
std::vector<Locale> AllLocales() {
  return {Locale::Named("C"),
          Locale::Named("en_US"),
          Locale::Named("de_DE"),
          Locale::Named("fr_FR"),
          Locale::Named("fa_IR"),
          Locale::Named("en_US").WithDecimalSeparator(u"::"),
          Locale::Named("en_US").WithDecimalSeparator(u"\U0001F4A7")};
}

struct Valid {
  std::u16string text;  // point notation
  double value;
};

const Valid kValid[] = {
    {u"0", 0.0},
    {u"128", 128.0},
    {u"255", 255.0},
    {u"-5", -5.0},
    {u"+5", 5.0},
    {u"007", 7.0},
    {u"010", 10.0},  // no octal
    {u".5", 0.5},
    {u"5.", 5.0},
    {u"-.5", -0.5},
    {u"0.5", 0.5},
    {u"128.5", 128.5},
    {u"255.01", 255.01},
    {u"1E2", 100.0},
    {u"1e2", 100.0},
    {u"1e+2", 100.0},
    {u"1e-2", 0.01},
    {u"2.55E2", 255.0},
    {u"100e-2", 1.0},
    {u"0.001e3", 1.0},
    {u"+.5e-3", 0.0005},
    {u"5.e1", 50.0},
    {u".5E1", 5.0},
    {u"1e-00000000000000000000000000002", 0.01},
    {u" 5", 5.0},
    {u"5 ", 5.0},
    {u"   -12.25   ", -12.25},
    {u"0e99999", 0.0},  // zero stays zero whatever the exponent
    {u"0.0e400", 0.0},
    {u"1e-400", 0.0},
    {u"1.7976931348623157e308", DBL_MAX},
    {u"4.9e-324", 4.9e-324},
    {u"1e-310", 1e-310},
    {u"2e-324", 0.0},  // below half the smallest subnormal
    // 1 + 2^-53 lies exactly between 1 and the next double: ties to even.
    {u"1.00000000000000011102230246251565404236316680908203125", 1.0},
    {u"1.00000000000000011102230246251565404236316680908203126", 1.0000000000000002},
};

TEST(ParseNumberTest, ReadsTheGrammarInEveryLocale) {
  for (const Locale& locale : AllLocales()) {
    for (const Valid& c : kValid) {
      const std::u16string text = Localised(c.text, locale.DecimalSeparator());
      SCOPED_TRACE(locale.Name() + " " + std::string(c.text.begin(), c.text.end()));
      double value = -1.0;
      EXPECT_EQ(ErrorOf([&] { value = ParseNumber(text, locale); }), std::nullopt);
      EXPECT_EQ(value, c.value);
      EXPECT_EQ(std::signbit(value), std::signbit(c.value));
    }
  }
}

TEST(ParseNumberTest, KeepsTheSignOfZero) {
  const Locale locale = Locale::Named("en_US");
  for (const std::u16string text : {u"-0", u"-0.0", u"-.0", u"-0e5", u"-1e-400", u"-2e-324"}) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    const double value = ParseNumber(text, locale);
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(std::signbit(value));
  }
  EXPECT_FALSE(std::signbit(ParseNumber(u"1e-400", locale)));
  EXPECT_FALSE(std::signbit(ParseNumber(u"+0", locale)));
}

struct Invalid {
  std::u16string text;  // point notation
  ErrorKind kind;
};

const Invalid kInvalid[] = {
    {u"", ErrorKind::kTypeMismatch},
    {u" ", ErrorKind::kTypeMismatch},
    {u"   ", ErrorKind::kTypeMismatch},
    {u"+", ErrorKind::kTypeMismatch},
    {u"-", ErrorKind::kTypeMismatch},
    {u".", ErrorKind::kTypeMismatch},
    {u"-.", ErrorKind::kTypeMismatch},
    {u"abc", ErrorKind::kTypeMismatch},
    {u"12a", ErrorKind::kTypeMismatch},
    {u"inf", ErrorKind::kTypeMismatch},
    {u"-inf", ErrorKind::kTypeMismatch},
    {u"INF", ErrorKind::kTypeMismatch},
    {u"infinity", ErrorKind::kTypeMismatch},
    {u"nan", ErrorKind::kTypeMismatch},
    {u"NaN", ErrorKind::kTypeMismatch},
    {u"0x10", ErrorKind::kTypeMismatch},
    {u"&H10", ErrorKind::kTypeMismatch},
    {u"&O17", ErrorKind::kTypeMismatch},
    {u"1e", ErrorKind::kTypeMismatch},
    {u"1e+", ErrorKind::kTypeMismatch},
    {u"1e-", ErrorKind::kTypeMismatch},
    {u"e5", ErrorKind::kTypeMismatch},
    {u".e5", ErrorKind::kTypeMismatch},
    {u"1e5.5", ErrorKind::kTypeMismatch},
    {u"1e 5", ErrorKind::kTypeMismatch},
    {u"1 e5", ErrorKind::kTypeMismatch},
    {u"1d5", ErrorKind::kTypeMismatch},
    {u"5..5", ErrorKind::kTypeMismatch},
    {u"5.5.5", ErrorKind::kTypeMismatch},
    {u"+-5", ErrorKind::kTypeMismatch},
    {u"--5", ErrorKind::kTypeMismatch},
    {u"- 5", ErrorKind::kTypeMismatch},
    {u"5-", ErrorKind::kTypeMismatch},
    {u"5+", ErrorKind::kTypeMismatch},
    {u"(5)", ErrorKind::kTypeMismatch},
    {u"$5", ErrorKind::kTypeMismatch},
    {u"5\u20AC", ErrorKind::kTypeMismatch},
    {u"1 000", ErrorKind::kTypeMismatch},
    {u"1'000", ErrorKind::kTypeMismatch},
    {u"1\u00A0000", ErrorKind::kTypeMismatch},
    {u"\u00A05", ErrorKind::kTypeMismatch},   // no-break space is not a blank
    {u"\u22125", ErrorKind::kTypeMismatch},   // minus sign, not hyphen-minus
    {u"\uFF15", ErrorKind::kTypeMismatch},    // fullwidth digit
    {u"\u0661\u0662", ErrorKind::kTypeMismatch},  // Arabic-Indic digits
    {u"\u06F1\u06F2", ErrorKind::kTypeMismatch},  // Persian digits
    {u"\t5", ErrorKind::kTypeMismatch},
    {u"5\n", ErrorKind::kTypeMismatch},
    {u"5\r", ErrorKind::kTypeMismatch},
    {u"\x1B" u"5", ErrorKind::kTypeMismatch},
    {std::u16string(u"5\0", 2), ErrorKind::kTypeMismatch},
    {std::u16string(u"\0" u"5", 2), ErrorKind::kTypeMismatch},
    {std::u16string(u"1\0" u"2", 3), ErrorKind::kTypeMismatch},
    {std::u16string{u'1', char16_t(0xD800)}, ErrorKind::kTypeMismatch},
    {std::u16string{char16_t(0xDC00), u'1'}, ErrorKind::kTypeMismatch},
    {std::u16string{u'1', char16_t(0xDBFF), u'2'}, ErrorKind::kTypeMismatch},
    {u"1e400", ErrorKind::kOverflow},
    {u"-1e400", ErrorKind::kOverflow},
    {u"1e0400", ErrorKind::kOverflow},
    {u"1.7976931348623159e308", ErrorKind::kOverflow},
    {u"0.1e310", ErrorKind::kOverflow},
};

TEST(ParseNumberTest, RejectsEverythingElseWithTheRightKind) {
  for (const Locale& locale : AllLocales()) {
    for (const Invalid& c : kInvalid) {
      const std::u16string text = Localised(c.text, locale.DecimalSeparator());
      SCOPED_TRACE(locale.Name() + " case " + std::to_string(&c - kInvalid));
      EXPECT_EQ(ErrorOf([&] { ParseNumber(text, locale); }), c.kind);
    }
  }
}

struct LocaleCase {
  const char* locale;
  std::u16string text;
  std::optional<double> value;  // nothing: type mismatch
};

TEST(ParseNumberTest, OnlyTheLocalesSeparatorCounts) {
  const LocaleCase cases[] = {
      {"en_US", u"1,000", std::nullopt},  // grouping is not accepted
      {"en_US", u"1,5", std::nullopt},
      {"en_US", u"1.5", 1.5},
      {"C", u"1,5", std::nullopt},
      {"de_DE", u"1.000", std::nullopt},
      {"de_DE", u"1.5", std::nullopt},
      {"de_DE", u"1,5", 1.5},
      {"de_DE", u",5", 0.5},
      {"de_DE", u"1,000", 1.0},
      {"de_DE", u"1.000,5", std::nullopt},
      {"fr_FR", u"1,5", 1.5},
      {"fr_FR", u"1\u202F000", std::nullopt},
      {"fa_IR", u"1\u066B5", 1.5},
      {"fa_IR", u"1.5", std::nullopt},
      {"fa_IR", u"1,5", std::nullopt},
      {"fa_IR", u"\u066B5", 0.5},
      {"fa_IR", u"1\u066C000", std::nullopt},  // Arabic thousands separator
  };
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " case " + std::to_string(&c - cases));
    const Locale locale = Locale::Named(c.locale);
    if (c.value) {
      EXPECT_EQ(ParseNumber(c.text, locale), *c.value);
    } else {
      EXPECT_EQ(ErrorOf([&] { ParseNumber(c.text, locale); }), ErrorKind::kTypeMismatch);
    }
  }
}

TEST(ParseNumberTest, MatchesASeparatorOfSeveralCodeUnitsWhole) {
  const Locale colons = Locale::Named("en_US").WithDecimalSeparator(u"::");
  EXPECT_EQ(ParseNumber(u"1::5", colons), 1.5);
  EXPECT_EQ(ErrorOf([&] { ParseNumber(u"1:5", colons); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ParseNumber(u"1:::5", colons); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ParseNumber(u"1::5::", colons); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ParseNumber(u"1.5", colons); }), ErrorKind::kTypeMismatch);

  const Locale drop = Locale::Named("en_US").WithDecimalSeparator(u"\U0001F4A7");
  EXPECT_EQ(ParseNumber(u"1\U0001F4A75", drop), 1.5);
  // Half of the pair is not the separator.
  const std::u16string high_only{u'1', char16_t(0xD83D), u'5'};
  EXPECT_EQ(ErrorOf([&] { ParseNumber(high_only, drop); }), ErrorKind::kTypeMismatch);
}

// Texts of 40,000 characters: read in full, no crash, no hang, no infinity.
TEST(ParseNumberTest, CopesWithVeryLongTexts) {
  const Locale locale = Locale::Named("en_US");
  constexpr std::size_t kLong = 40000;

  EXPECT_EQ(ErrorOf([&] { ParseNumber(Repeat(u'1', kLong), locale); }), ErrorKind::kOverflow);
  EXPECT_EQ(ErrorOf([&] { ParseNumber(u"1" + Repeat(u'0', kLong - 1), locale); }),
            ErrorKind::kOverflow);
  EXPECT_EQ(ParseNumber(Repeat(u'0', kLong), locale), 0.0);
  EXPECT_EQ(ParseNumber(Repeat(u'0', kLong) + u"255", locale), 255.0);
  EXPECT_EQ(ParseNumber(u"0." + Repeat(u'0', kLong) + u"1", locale), 0.0);
  EXPECT_EQ(ParseNumber(u"0." + Repeat(u'3', kLong), locale), 1.0 / 3.0);
  EXPECT_EQ(ParseNumber(u"255." + Repeat(u'0', kLong), locale), 255.0);
  EXPECT_EQ(ParseNumber(u"5" + Repeat(u' ', kLong), locale), 5.0);
  EXPECT_EQ(ParseNumber(Repeat(u'1', kLong) + u"e-39990", locale), 1111111111.11111111111111111);
  EXPECT_EQ(ErrorOf([&] { ParseNumber(u"1e" + Repeat(u'9', kLong), locale); }),
            ErrorKind::kOverflow);
  EXPECT_EQ(ParseNumber(u"1e-" + Repeat(u'9', kLong), locale), 0.0);
  EXPECT_EQ(ParseNumber(u"0e" + Repeat(u'9', kLong), locale), 0.0);
  for (const char16_t filler : {u'a', u' ', u'.', u'-', char16_t(0), char16_t(0xD800)}) {
    EXPECT_EQ(ErrorOf([&] { ParseNumber(Repeat(filler, kLong), locale); }),
              ErrorKind::kTypeMismatch);
  }
  EXPECT_EQ(ErrorOf([&] { ParseNumber(Repeat(u'1', kLong) + u"x", locale); }),
            ErrorKind::kTypeMismatch);
}

// A tie between two doubles is decided by a nonzero digit far beyond the
// first few hundred digits.
TEST(ParseNumberTest, DigitsFarOutStillDecideATie) {
  const Locale locale = Locale::Named("en_US");
  const std::u16string tie = u"1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(ParseNumber(tie + Repeat(u'0', 5000), locale), 1.0);
  EXPECT_EQ(ParseNumber(tie + Repeat(u'0', 5000) + u"1", locale), 1.0000000000000002);
  EXPECT_EQ(ParseNumber(u"-" + tie + Repeat(u'0', 5000) + u"1", locale), -1.0000000000000002);
}

}  // namespace
}  // namespace pigmo::colour
