// Tables in point notation, run in one point and one comma locale.
#include "colour/colour_rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <variant>

#include "runtime/error.h"

namespace pigmo::colour {

namespace {

using runtime::ErrorKind;
using runtime::Locale;
using ::testing::PrintToString;
constexpr ErrorKind kMismatch = ErrorKind::kTypeMismatch, kOverflow = ErrorKind::kOverflow;
constexpr ErrorKind kInvalid = ErrorKind::kInvalidArgument;

auto Fails(ErrorKind kind) {
  return ::testing::Throws<runtime::Error>(::testing::Property(&runtime::Error::kind, kind));
}

class ColourRulesTest : public ::testing::TestWithParam<const char*> {
 protected:
  const Locale locale = Locale::Named(GetParam());
  // The text with every "." written as the locale's separator.
  std::u16string L(std::u16string_view text) const {
    std::u16string out;
    for (const char16_t c : text) out.append(c == u'.' ? locale.DecimalSeparator() : std::u16string_view(&c, 1));
    return out;
  }
};

INSTANTIATE_TEST_SUITE_P(PointAndComma, ColourRulesTest, ::testing::Values("en_US", "de_DE"));

TEST_P(ColourRulesTest, ParseNumberReadsTheGrammarAndBoundAndEdgeTestsCompareItExactly) {
  const std::pair<std::u16string, double> rows[] = {
      {u"0", 0},
      {u"128", 128},
      {u"-5", -5},
      {u"100.5", 100.5},
      {u"010", 10},
      {u".5", 0.5},
      {u"5.", 5},
      {u"-.5", -0.5},
      {u"255.01", 255.01},
      {u"1E2", 100},
      {u"1e+2", 100},
      {u"1e-2", 0.01},
      {u"2.55E2", 255},
      {u"+.5e-3", 0.0005},
      {u"5.e1", 50},
      {u"1e-00000000000000000000000000002", 0.01},
      {u"   -12.25   ", -12.25},
      {u"0e99999", 0},
      {u"1e-400", 0},
      {u"2e-324", 0},
      {u"1.7976931348623157e308", DBL_MAX},
      {u"4.9e-324", 4.9e-324},
      {u"-0", -0.0},
      {u"-1e-400", -0.0},
      {u"254.9999999999999", 254.9999999999999},
      {u"255.0000000000001", 255.0000000000001},
  };
  for (const auto& [raw, expected] : rows) {
    const std::u16string text = L(raw);
    SCOPED_TRACE(PrintToString(text));
    const double value = ParseNumber(text, locale);
    EXPECT_EQ(value, expected);
    EXPECT_EQ(std::signbit(value), std::signbit(expected));
    EXPECT_EQ(ExceedsBound(text, 255, locale), expected > 255);
    EXPECT_EQ(ExceedsBound(text, 100, locale), expected > 100);
    EXPECT_EQ(IsEdgeValue(text, 255, locale), expected == 255);
    EXPECT_EQ(IsEdgeValue(text, 0, locale), expected == 0);
  }
  EXPECT_THAT([&] { ExceedsBound(u"a", 255, locale); }, Fails(kMismatch));
  EXPECT_THAT([&] { IsEdgeValue(u"1e400", 0, locale); }, Fails(kOverflow));
  // The other locale's separator is not a number here.
  const std::u16string other = locale.DecimalSeparator() == u"." ? u"1,5" : u"1.5";
  for (const std::u16string text :
       {u"",    u"   ", u"+",     u"-",       u".",       u"-.",     u"12a",    u"inf",  u"nan",   u"0x10",
        u"1e",  u"1e+", u"e5",    u".e5",     u"1e5.5",   u"1 e5",   u"1e 5",   u"5..5", u"5.5.5", u"+-5",
        u"- 5", u"5-",  u"1 000", u"\u00A05", u"\u22125", u"\uFF15", u"\u06F1", u"\t5"}) {
    EXPECT_THAT([&] { ParseNumber(L(text), locale); }, Fails(kMismatch)) << PrintToString(L(text));
  }
  for (const std::u16string& text : {std::u16string(u"5\0", 2), std::u16string{u'1', char16_t(0xD800)}, other}) {
    EXPECT_THAT([&] { ParseNumber(text, locale); }, Fails(kMismatch));
  }
  for (const std::u16string text : {u"1e400", u"-1e400", u"1.7976931348623159e308", u"0.1e310"}) {
    EXPECT_THAT([&] { ParseNumber(L(text), locale); }, Fails(kOverflow)) << PrintToString(text);
  }
}

TEST(ParseNumberTest, ReadsSeparatorsOfSeveralUnitsViewsToTheirEndAndVeryLongTexts) {
  const Locale en = Locale::Named("en_US"), colons = en.WithDecimalSeparator(u"::");
  EXPECT_EQ(ParseNumber(u"1::5", colons), 1.5);
  EXPECT_EQ(FractionText(u"-1::5", 1, u"0.0000", colons), u"-1::5000");
  for (const std::u16string text : {u"1:5", u"1:::5", u"1::5::", u"1.5"}) {
    EXPECT_THAT([&] { ParseNumber(text, colons); }, Fails(kMismatch));
  }
  // A view that ends before its buffer does ({buffer, length}) is read to its own end only.
  const std::pair<std::u16string_view, double> views[] = {{{u"125", 2}, 12}, {{u"1.5", 2}, 1}, {{u"1e52", 3}, 1e5}};
  for (const auto& [view, value] : views) EXPECT_EQ(ParseNumber(view, en), value) << view.size();
  EXPECT_THAT([&] { ParseNumber(std::u16string_view(u"1e-5", 3), en); }, Fails(kMismatch));
  constexpr std::size_t kLong = 40000;
  EXPECT_THAT([&] { ParseNumber(std::u16string(kLong, u'1'), en); }, Fails(kOverflow));
  EXPECT_THAT([&] { ParseNumber(u"1e" + std::u16string(kLong, u'9'), en); }, Fails(kOverflow));
  // 1 + 2^-53 lies exactly between two doubles (ties to even) unless a digit far beyond says otherwise.
  const std::u16string tie = u"1.00000000000000011102230246251565404236316680908203125" + std::u16string(5000, u'0');
  const std::pair<std::u16string, double> long_rows[] = {
      {std::u16string(kLong, u'0') + u"255", 255},
      {u"0." + std::u16string(kLong, u'0') + u"1", 0},
      {u"0." + std::u16string(kLong, u'3'), 1.0 / 3.0},
      {u"1e-" + std::u16string(kLong, u'9'), 0},
      {std::u16string(kLong, u'1') + u"e-39990", 1111111111.11111111111111111},
      {tie, 1},
      {u"-" + tie + u"1", -1.0000000000000002}};
  for (const auto& [text, value] : long_rows) EXPECT_EQ(ParseNumber(text, en), value) << text.size();
}

// Only direct calls reach these limits: FractionText asks for 15 digits of at most 1e308.
TEST(NumberBuildingBlocksTest, RoundingClampsTheDigitCountAndFormatRefusesHugeNumbers) {
  // 0.1 is 0.1000000000000000055511151231257827...
  EXPECT_EQ(RoundToSignificant(0.1, 17), (DecimalNumber{false, "10000000000000001", 0}));
  EXPECT_EQ(RoundToSignificant(0.1, 30), RoundToSignificant(0.1, 17));
  EXPECT_EQ(RoundToSignificant(0.75, -3), (DecimalNumber{false, "8", 0}));
  EXPECT_THAT([&] { NumberPattern::Parse(u"0.00").Format(*ScanNumber(u"1e500", u"."), u"."); }, Fails(kOverflow));
}

// Errors: arguments first (pattern, scale not positive and finite), then the number's own.
TEST_P(ColourRulesTest, FractionTextRoundsTheQuotientTwice) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::tuple<std::u16string, double, std::u16string, std::variant<std::u16string, ErrorKind>> rows[] = {
      {u"128", 255, u"0.0000", u"0.5020"},
      {u"1", 255, u"0.0000", u"0.0039"},
      {u"255", 255, u"0.0000", u"1.0000"},
      {u"-5", 255, u"0.0000", u"-0.0196"},
      {u"300", 255, u"0.0000", u"1.1765"},
      {u"-0", 255, u"0.0000", u"0.0000"},
      {u" 2.55E2 ", 255, u"0.0000", u"1.0000"},
      {u"50", 100, u"0.00", u"0.50"},
      {u"7", 100, u"0.00", u"0.07"},
      {u"99.9", 100, u"0.00", u"1.00"},
      {u"7", 100, u"000.000", u"000.070"},
      // Ties go away from zero, even where the double lies below the tie (0.015 and 0.00015 do).
      {u"1.5", 100, u"0.00", u"0.02"},
      {u"2.5", 100, u"0.00", u"0.03"},
      {u"-12.5", 100, u"0.00", u"-0.13"},
      {u"0.03825", 255, u"0.0000", u"0.0002"},
      // Fifteen significant digits first: 0.004999999999999999 is 0.005, a tie.
      {u"0.4999999999999999", 100, u"0.00", u"0.01"},
      {u"0.4999999999999", 100, u"0.00", u"0.00"},
      {u"999.995", 100, u"0.00", u"10.00"},
      // Rounding to zero from below writes no minus sign.
      {u"-0.01", 255, u"0.0000", u"0.0000"},
      {u"-0.001", 255, u"0.0000", u"0.0000"},
      {u"-1e-400", 255, u"0.0000", u"0.0000"},
      {u"12345", 100, u"0.0", u"123.5"},
      {u"128", 255, u"0", u"1"},
      {u"1e20", 100, u"0.00", u"1" + std::u16string(18, u'0') + u".00"},
      // The largest double / 100 rounded up at the fifteenth digit.
      {u"1.7976931348623157e308", 100, u"0.00", u"179769313486232" + std::u16string(292, u'0') + u".00"},
      {u"", 255, u"0.0000", kMismatch},
      {u"1 000", 255, u"0.0000", kMismatch},
      {u"1e400", 255, u"0.0000", kOverflow},
      {u"1.7e308", 0.5, u"0.00", kOverflow},
      {u"128", 0, u"0.0000", kInvalid},
      {u"128", -255, u"0.0000", kInvalid},
      {u"128", inf, u"0.0000", kInvalid},
      {u"128", std::nan(""), u"0.0000", kInvalid},
      {u"abc", 0, u"0.00", kInvalid},
  };
  for (const auto& [text, scale, pattern, expected] : rows) {
    SCOPED_TRACE(PrintToString(L(text) + u" / " + pattern));
    const auto call = [&] { return FractionText(L(text), scale, pattern, locale); };
    if (const auto* kind = std::get_if<ErrorKind>(&expected)) {
      EXPECT_THAT(call, Fails(*kind));
    } else {
      EXPECT_EQ(call(), L(std::get<std::u16string>(expected)));
    }
  }
  for (const std::u16string pattern : {u"", u".00", u"0.", u"0,00", u"0.0.0", u"0.00 ", u"1.00", u"\uFF10.00"}) {
    EXPECT_THAT([&] { FractionText(u"abc", 255, pattern, locale); }, Fails(kInvalid)) << PrintToString(pattern);
  }
}

TEST(ArrayTextTest, InsertsTheTextsAsTheyAre) {
  EXPECT_EQ(ArrayText(u"0.5020", u" 1 ", u"", u"0,50"), u"[0.5020, 1 ,,0,50]");
  const std::u16string odd{u'a', char16_t(0), char16_t(0xD800)};
  EXPECT_EQ(ArrayText(odd, u"1", u"2", odd), u"[" + odd + u",1,2," + odd + u"]");
}

constexpr runtime::Colour Rgb(int r, int g, int b) { return static_cast<runtime::Colour>(r + 256 * g + 65536 * b); }

// Negative components count as 0; the first failure in blue, green, red order decides the error.
TEST_P(ColourRulesTest, SwatchColourRoundsHalfToEvenInAnyModeAndClampsTo0To255) {
  const std::tuple<std::u16string, std::u16string, std::u16string, std::variant<runtime::Colour, ErrorKind>> rows[] = {
      {u"1", u"2", u"3", Rgb(1, 2, 3)},
      {u"127.5", u"128.5", u"0.5", Rgb(128, 128, 0)},
      {u"127.4", u"127.6", u"254.5", Rgb(127, 128, 254)},
      {u"128.6", u"0.7", u"2.5", Rgb(129, 1, 2)},
      {u"-0.5", u"-0.4", u"-0", Rgb(0, 0, 0)},
      {u"255.5", u"999", u"32767", Rgb(255, 255, 255)},
      {u"2.55E2", u" 0 ", u"+0", Rgb(255, 0, 0)},
      {u"-5", u"128", u"255", Rgb(0, 128, 255)},
      {u"200", u"-32768", u"-0.6", Rgb(200, 0, 0)},
      {u"", u"0", u"0", kMismatch},
      {u"0", u"0", u"1 5", kMismatch},
      {u"32768", u"0", u"0", kOverflow},
      {u"32767.5", u"0", u"0", kOverflow},
      {u"-32769", u"0", u"0", kOverflow},
      {u"0", u"1e400", u"0", kOverflow},
      {u"a", u"40000", u"b", kMismatch},
      {u"a", u"b", u"40000", kOverflow},
      {u"40000", u"a", u"-5", kMismatch},
  };
  for (const auto& [red, green, blue, expected] : rows) {
    SCOPED_TRACE(PrintToString(red + u"," + green + u"," + blue));
    const auto call = [&] { return SwatchColour(L(red), L(green), L(blue), locale); };
    if (const auto* kind = std::get_if<ErrorKind>(&expected)) {
      EXPECT_THAT(call, Fails(*kind));
    } else {
      EXPECT_EQ(call(), std::get<runtime::Colour>(expected));
    }
  }
  const int saved = std::fegetround();
  for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    const runtime::Colour colour = SwatchColour(L(u"128.5"), L(u"1.5"), L(u"127.5"), locale);  // down, up, up
    std::fesetround(saved);
    EXPECT_EQ(colour, Rgb(128, 2, 128)) << mode;
  }
}

}  // namespace
}  // namespace pigmo::colour
