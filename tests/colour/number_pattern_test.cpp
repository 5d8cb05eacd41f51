#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "colour/colour_rules.h"
#include "colour_test_support.h"

namespace pigmo::colour {
namespace {

using runtime::ErrorKind;
using testing::ErrorOf;

}  // namespace

// Readable failure messages.
void PrintTo(const DecimalNumber& number, std::ostream* out) {
  *out << (number.negative ? "-" : "+") << "0." << number.digits << "e" << number.point;
}

namespace {

DecimalNumber Decimal(std::u16string_view text) {
  const auto number = ScanNumber(text, u".");
  EXPECT_TRUE(number.has_value());
  return number.value_or(DecimalNumber{});
}

TEST(ScanNumberTest, KeepsOnlySignificantDigits) {
  EXPECT_EQ(Decimal(u"00120.0500"), (DecimalNumber{false, "12005", 3}));
  EXPECT_EQ(Decimal(u".5e-3"), (DecimalNumber{false, "5", -3}));
  EXPECT_EQ(Decimal(u"0.0039"), (DecimalNumber{false, "39", -2}));
  EXPECT_EQ(Decimal(u"-255"), (DecimalNumber{true, "255", 3}));
  EXPECT_EQ(Decimal(u"-0.000e7"), (DecimalNumber{true, "", 0}));
  EXPECT_EQ(Decimal(u"100"), (DecimalNumber{false, "1", 3}));
}

TEST(RoundToSignificantTest, GivesTheDecimalDigitsOfTheRoundedValue) {
  // 128/255 = 0.50196078431372549...
  EXPECT_EQ(RoundToSignificant(128.0 / 255.0, 15), (DecimalNumber{false, "501960784313725", 0}));
  // 0.015 is stored as 0.01499999999999999944...; fifteen digits give 0.015.
  EXPECT_EQ(RoundToSignificant(0.015, 15), (DecimalNumber{false, "15", -1}));
  EXPECT_EQ(RoundToSignificant(-5.0 / 255.0, 15), (DecimalNumber{true, "196078431372549", -1}));
  EXPECT_EQ(RoundToSignificant(0.1, 15), (DecimalNumber{false, "1", 0}));
  EXPECT_EQ(RoundToSignificant(-0.0, 15), (DecimalNumber{true, "", 0}));
  EXPECT_EQ(RoundToSignificant(0.0, 15), (DecimalNumber{false, "", 0}));
  EXPECT_EQ(RoundToSignificant(1e300, 15), (DecimalNumber{false, "1", 301}));
  EXPECT_EQ(RoundToSignificant(0.99999999999999994, 15), (DecimalNumber{false, "1", 1}));
}

TEST(NumberPatternTest, ReadsTheDigitCounts) {
  const NumberPattern channel = NumberPattern::Parse(u"0.0000");
  EXPECT_EQ(channel.MinIntegerDigits(), 1);
  EXPECT_EQ(channel.Decimals(), 4);
  const NumberPattern opacity = NumberPattern::Parse(u"0.00");
  EXPECT_EQ(opacity.MinIntegerDigits(), 1);
  EXPECT_EQ(opacity.Decimals(), 2);
  const NumberPattern whole = NumberPattern::Parse(u"000");
  EXPECT_EQ(whole.MinIntegerDigits(), 3);
  EXPECT_EQ(whole.Decimals(), 0);
}

TEST(NumberPatternTest, RefusesOtherPatterns) {
  for (const std::u16string pattern :
       {u"", u".", u"0.", u".0", u"#", u"#.##", u"0,00", u"0.0.0", u"0.00%", u" 0", u"0 ",
        u"0.00E+00", u"1", u"0\u066B00", u"\uFF10.00"}) {
    SCOPED_TRACE(std::string(pattern.begin(), pattern.end()));
    EXPECT_EQ(ErrorOf([&] { NumberPattern::Parse(pattern); }), ErrorKind::kInvalidArgument);
  }
}

struct FormatCase {
  std::u16string value;
  std::u16string pattern;
  std::u16string expected;
};

TEST(NumberPatternTest, RoundsOnTheDecimalDigits) {
  const FormatCase cases[] = {
      {u"0.50196078431372549", u"0.0000", u"0.5020"},
      {u"0.99995", u"0.0000", u"1.0000"},
      {u"9.99995", u"0.0000", u"10.0000"},
      {u"99.99995", u"0.0000", u"100.0000"},
      {u"0.00005", u"0.0000", u"0.0001"},
      {u"0.0000499999999", u"0.0000", u"0.0000"},
      {u"0.000050000001", u"0.0000", u"0.0001"},
      {u"-0.00005", u"0.0000", u"-0.0001"},
      {u"-0.00004", u"0.0000", u"0.0000"},
      {u"-0", u"0.00", u"0.00"},
      {u"0.125", u"0.00", u"0.13"},
      {u"0.135", u"0.00", u"0.14"},
      {u"0.5", u"0", u"1"},
      {u"0.49", u"0", u"0"},
      {u"1.5", u"0", u"2"},
      {u"2.5", u"0", u"3"},
      {u"-2.5", u"0", u"-3"},
      {u"7", u"000.0", u"007.0"},
      {u"1234", u"00", u"1234"},
      {u"5e-1000", u"0.00", u"0.00"},
      {u"0.1", u"0.0000", u"0.1000"},
      {u"123456789012345678901234567890", u"0.00", u"123456789012345678901234567890.00"},
      {u"1e30", u"0.0", u"1000000000000000000000000000000.0"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    EXPECT_EQ(NumberPattern::Parse(c.pattern).Format(Decimal(c.value), u"."), c.expected);
  }
}

TEST(NumberPatternTest, WritesTheSeparatorGiven) {
  const NumberPattern pattern = NumberPattern::Parse(u"0.0000");
  EXPECT_EQ(pattern.Format(Decimal(u"0.502"), u","), u"0,5020");
  EXPECT_EQ(pattern.Format(Decimal(u"0.502"), u"\u066B"), u"0\u066B5020");
  EXPECT_EQ(pattern.Format(Decimal(u"-1.5"), u"::"), u"-1::5000");
  EXPECT_EQ(NumberPattern::Parse(u"0").Format(Decimal(u"12"), u","), u"12");
}

TEST(NumberPatternTest, RefusesValuesNoDoubleReaches) {
  EXPECT_EQ(ErrorOf([&] { NumberPattern::Parse(u"0.00").Format(Decimal(u"1e500"), u"."); }),
            ErrorKind::kOverflow);
}

}  // namespace
}  // namespace pigmo::colour
