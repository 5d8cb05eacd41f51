#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

struct Fraction {
  std::u16string text;  // point notation
  double scale;
  std::u16string pattern;
  std::u16string expected;  // point notation
};


const Fraction kFractions[] = {
    // Channels.
    {u"128", 255, u"0.0000", u"0.5020"},
    {u"1", 255, u"0.0000", u"0.0039"},
    {u"64", 255, u"0.0000", u"0.2510"},
    {u"255", 255, u"0.0000", u"1.0000"},
    {u"0", 255, u"0.0000", u"0.0000"},
    {u"-5", 255, u"0.0000", u"-0.0196"},
    {u"0.5", 255, u"0.0000", u"0.0020"},
    {u"127", 255, u"0.0000", u"0.4980"},
    {u"254", 255, u"0.0000", u"0.9961"},
    {u"300", 255, u"0.0000", u"1.1765"},
    {u"999", 255, u"0.0000", u"3.9176"},
    {u"-255", 255, u"0.0000", u"-1.0000"},
    {u"2.55E2", 255, u"0.0000", u"1.0000"},
    {u" 128 ", 255, u"0.0000", u"0.5020"},
    {u"-0", 255, u"0.0000", u"0.0000"},
    // Opacity.
    {u"50", 100, u"0.00", u"0.50"},
    {u"7", 100, u"0.00", u"0.07"},
    {u"100", 100, u"0.00", u"1.00"},
    {u"0", 100, u"0.00", u"0.00"},
    {u"0.4", 100, u"0.00", u"0.00"},
    {u"99.9", 100, u"0.00", u"1.00"},
    {u"-7", 100, u"0.00", u"-0.07"},
    // Ties on the decimal digits go away from zero, even where the nearest
    // double lies below the tie (0.015 and 0.00015 as doubles do).
    {u"12.5", 100, u"0.00", u"0.13"},
    {u"-12.5", 100, u"0.00", u"-0.13"},
    {u"1.5", 100, u"0.00", u"0.02"},
    {u"0.5", 100, u"0.00", u"0.01"},
    {u"-0.5", 100, u"0.00", u"-0.01"},
    {u"0.01275", 255, u"0.0000", u"0.0001"},
    {u"0.03825", 255, u"0.0000", u"0.0002"},
    {u"-0.03825", 255, u"0.0000", u"-0.0002"},
    // Fifteen significant digits first: 0.004999999999999999 becomes
    // 0.005, a tie, and so 0.01.
    {u"0.4999999999999999", 100, u"0.00", u"0.01"},
    {u"0.4999999999999", 100, u"0.00", u"0.00"},
    {u"0.012749999999999999", 255, u"0.0000", u"0.0001"},
    // Carries through every digit.
    {u"99.995", 100, u"0.00", u"1.00"},
    {u"999.995", 100, u"0.00", u"10.00"},
    // Values that round to zero from below carry no minus sign.
    {u"-0.01", 255, u"0.0000", u"0.0000"},
    {u"-0.4", 100, u"0.00", u"0.00"},
    {u"-1e-400", 255, u"0.0000", u"0.0000"},
    {u"1e-300", 255, u"0.0000", u"0.0000"},
    // The pattern is data: other zero counts work alike.
    {u"128", 255, u"0", u"1"},
    {u"50", 100, u"00.00", u"00.50"},
    {u"12345", 100, u"0.0", u"123.5"},
    {u"128", 255, u"0.000000", u"0.501961"},
};

std::vector<Locale> AllLocales() {
  return {Locale::Named("C"),     Locale::Named("en_US"), Locale::Named("de_DE"),
          Locale::Named("fr_FR"), Locale::Named("fa_IR"),
          Locale::Named("en_US").WithDecimalSeparator(u"::")};
}

TEST(FractionTextTest, WorkedValuesInEveryLocale) {
  for (const Locale& locale : AllLocales()) {
    const std::u16string& separator = locale.DecimalSeparator();
    for (const Fraction& c : kFractions) {
      SCOPED_TRACE(locale.Name() + " case " + std::to_string(&c - kFractions));
      EXPECT_EQ(FractionText(Localised(c.text, separator), c.scale, c.pattern, locale),
                Localised(c.expected, separator));
    }
  }
}

TEST(FractionTextTest, CarriesTheLocalesSeparator) {
  EXPECT_EQ(FractionText(u"128", 255, u"0.0000", Locale::Named("en_US")), u"0.5020");
  EXPECT_EQ(FractionText(u"128", 255, u"0.0000", Locale::Named("de_DE")), u"0,5020");
  EXPECT_EQ(FractionText(u"50", 100, u"0.00", Locale::Named("de_DE")), u"0,50");
  EXPECT_EQ(FractionText(u"-5", 255, u"0.0000", Locale::Named("de_DE")), u"-0,0196");
  EXPECT_EQ(FractionText(u"128", 255, u"0.0000", Locale::Named("fa_IR")), u"0\u066B5020");
  EXPECT_EQ(FractionText(u"128\u066B5", 255, u"0.0000", Locale::Named("fa_IR")), u"0\u066B5039");
  EXPECT_EQ(FractionText(u"128,5", 255, u"0.0000", Locale::Named("de_DE")), u"0,5039");
}

TEST(FractionTextTest, WritesEveryIntegerDigitOfLargeValues) {
  const Locale en = Locale::Named("en_US");
  // 1e300 / 255 = 3.92156862745098039...e297: fifteen digits, then zeros.
  EXPECT_EQ(FractionText(u"1e300", 255, u"0.0000", en),
            u"392156862745098" + Repeat(u'0', 283) + u".0000");
  EXPECT_EQ(FractionText(u"-1e300", 255, u"0.0000", Locale::Named("de_DE")),
            u"-392156862745098" + Repeat(u'0', 283) + u",0000");
  // The largest double / 100 = 1.7976931348623157e306, rounded up at the
  // fifteenth digit.
  EXPECT_EQ(FractionText(u"1.7976931348623157e308", 100, u"0.00", en),
            u"179769313486232" + Repeat(u'0', 292) + u".00");
  EXPECT_EQ(FractionText(u"1e20", 100, u"0.00", en), u"1" + Repeat(u'0', 18) + u".00");
}

TEST(FractionTextTest, FailsWithTheRightKind) {
  const Locale en = Locale::Named("en_US");
  struct Failure {
    std::u16string text;
    double scale;
    std::u16string pattern;
    ErrorKind kind;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Failure failures[] = {
      {u"", 255, u"0.0000", ErrorKind::kTypeMismatch},
      {u" ", 255, u"0.0000", ErrorKind::kTypeMismatch},
      {u"abc", 255, u"0.0000", ErrorKind::kTypeMismatch},
      {u"1,000", 255, u"0.0000", ErrorKind::kTypeMismatch},
      {u"inf", 255, u"0.0000", ErrorKind::kTypeMismatch},
      {u"1e400", 255, u"0.0000", ErrorKind::kOverflow},
      {u"1.7e308", 0.5, u"0.00", ErrorKind::kOverflow},
      {u"128", 0, u"0.0000", ErrorKind::kInvalidArgument},
      {u"128", -255, u"0.0000", ErrorKind::kInvalidArgument},
      {u"128", inf, u"0.0000", ErrorKind::kInvalidArgument},
      {u"128", nan, u"0.0000", ErrorKind::kInvalidArgument},
      {u"abc", 255, u"#.##", ErrorKind::kInvalidArgument},  // arguments first
      {u"128", 255, u"", ErrorKind::kInvalidArgument},
      {u"128", 255, u".", ErrorKind::kInvalidArgument},
      {u"128", 255, u"0.", ErrorKind::kInvalidArgument},
      {u"128", 255, u".00", ErrorKind::kInvalidArgument},
      {u"128", 255, u"#.##", ErrorKind::kInvalidArgument},
      {u"128", 255, u"0,00", ErrorKind::kInvalidArgument},
      {u"128", 255, u"0.0.0", ErrorKind::kInvalidArgument},
      {u"128", 255, u"0.00%", ErrorKind::kInvalidArgument},
      {u"128", 255, u"0.0000 ", ErrorKind::kInvalidArgument},
      {u"128", 255, u" 0.0000", ErrorKind::kInvalidArgument},
      {u"128", 255, u"0.00E+00", ErrorKind::kInvalidArgument},
      {u"128", 255, u"1.00", ErrorKind::kInvalidArgument},
  };
  for (const Failure& c : failures) {
    SCOPED_TRACE("case " + std::to_string(&c - failures));
    EXPECT_EQ(ErrorOf([&] { FractionText(c.text, c.scale, c.pattern, en); }), c.kind);
  }
}

TEST(FractionTextTest, IgnoresTheFloatingPointRoundingOfTheQuotient) {
  // 0.015 is stored just below the tie and 0.025 just above; on the
  // decimal digits both are ties and go the same way.
  const Locale en = Locale::Named("en_US");
  EXPECT_EQ(FractionText(u"1.5", 100, u"0.00", en), u"0.02");
  EXPECT_EQ(FractionText(u"2.5", 100, u"0.00", en), u"0.03");
  EXPECT_EQ(FractionText(u"3.5", 100, u"0.00", en), u"0.04");
}

}  // namespace
}  // namespace pigmo::colour
