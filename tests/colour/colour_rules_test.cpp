#include <gtest/gtest.h>

#include <cfenv>
#include <optional>
#include <string>

#include "colour/colour_rules.h"
#include "colour_test_support.h"

namespace pigmo::colour {
namespace {

using runtime::ErrorKind;
using runtime::Locale;
using testing::ErrorOf;
using testing::Localised;
using testing::Repeat;

const char* const kLocales[] = {"C", "en_US", "de_DE", "fa_IR"};

struct BoundCase {
  std::u16string text;  // point notation
  double bound;
  bool exceeds;
};

TEST(ExceedsBoundTest, OnlyAboveTheBound) {
  const BoundCase cases[] = {
      {u"255", 255, false},
      {u"255.01", 255, true},
      {u"255.0000000000001", 255, true},
      {u"256", 255, true},
      {u"2.55E2", 255, false},
      {u"254.99", 255, false},
      {u"0", 255, false},
      {u"-300", 255, false},
      {u"100", 100, false},
      {u"100.5", 100, true},
      {u"101", 100, true},
      {u"1e300", 100, true},
      {u" 999 ", 255, true},
  };
  for (const char* name : kLocales) {
    const Locale locale = Locale::Named(name);
    for (const BoundCase& c : cases) {
      SCOPED_TRACE(std::string(name) + " case " + std::to_string(&c - cases));
      EXPECT_EQ(ExceedsBound(Localised(c.text, locale.DecimalSeparator()), c.bound, locale),
                c.exceeds);
    }
  }
}

TEST(ExceedsBoundTest, FailsAsTheNumberDoes) {
  const Locale en = Locale::Named("en_US");
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"", 255, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u" ", 255, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"-", 255, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"a", 255, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"1,000", 255, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"inf", 255, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"1e400", 255, en); }), ErrorKind::kOverflow);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(Repeat(u'9', 40000), 255, en); }), ErrorKind::kOverflow);
  EXPECT_EQ(ErrorOf([&] { ExceedsBound(u"255.5", 255, Locale::Named("de_DE")); }),
            ErrorKind::kTypeMismatch);
}

struct EdgeCase {
  std::u16string text;  // point notation
  double value;
  bool edge;
};

TEST(IsEdgeValueTest, ExactEqualityOnly) {
  const EdgeCase cases[] = {
      {u"0", 0, true},
      {u"-0", 0, true},
      {u"+0", 0, true},
      {u"0.0", 0, true},
      {u"000", 0, true},
      {u".0", 0, true},
      {u"0e5", 0, true},
      {u" 0 ", 0, true},
      {u"1e-400", 0, true},  // reads as zero
      {u"0.0001", 0, false},
      {u"-0.0001", 0, false},
      {u"255", 255, true},
      {u"255.0", 255, true},
      {u"2.55E2", 255, true},
      {u"255.0000000000001", 255, false},
      {u"254.9999999999999", 255, false},
      {u"255", 0, false},
      {u"0", 255, false},
      {u"100", 100, true},
      {u"1e2", 100, true},
      {u"100.01", 100, false},
      {u"50", 100, false},
  };
  for (const char* name : kLocales) {
    const Locale locale = Locale::Named(name);
    for (const EdgeCase& c : cases) {
      SCOPED_TRACE(std::string(name) + " case " + std::to_string(&c - cases));
      EXPECT_EQ(IsEdgeValue(Localised(c.text, locale.DecimalSeparator()), c.value, locale), c.edge);
    }
  }
}

TEST(IsEdgeValueTest, FailsAsTheNumberDoes) {
  const Locale en = Locale::Named("en_US");
  EXPECT_EQ(ErrorOf([&] { IsEdgeValue(u"", 0, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { IsEdgeValue(u"-", 0, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { IsEdgeValue(u"nan", 0, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { IsEdgeValue(u"0x0", 0, en); }), ErrorKind::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { IsEdgeValue(u"1e400", 255, en); }), ErrorKind::kOverflow);
}

TEST(ArrayTextTest, InsertsTheTextsAsTheyAre) {
  EXPECT_EQ(ArrayText(u"1", u"1", u"1", u"1"), u"[1,1,1,1]");
  EXPECT_EQ(ArrayText(u"0.5020", u"1", u"0", u"1"), u"[0.5020,1,0,1]");
  EXPECT_EQ(ArrayText(u"0", u"1", u"1", u"0.50"), u"[0,1,1,0.50]");
  EXPECT_EQ(ArrayText(u"-0.0196", u"1", u"1", u"1"), u"[-0.0196,1,1,1]");
  EXPECT_EQ(ArrayText(u"0,5020", u" 1 ", u"", u"x"), u"[0,5020, 1 ,,x]");
  EXPECT_EQ(ArrayText(u"", u"", u"", u""), u"[,,,]");
  const std::u16string odd{u'a', char16_t(0), char16_t(0xD800), u'\t'};
  EXPECT_EQ(ArrayText(odd, u"1", u"2", odd), u"[" + odd + u",1,2," + odd + u"]");
  const std::u16string long_text = Repeat(u'7', 40000);
  EXPECT_EQ(ArrayText(long_text, u"1", u"1", u"1"), u"[" + long_text + u",1,1,1]");
}

struct Swatch {
  std::u16string red, green, blue;  // point notation
  runtime::Colour colour;
};

TEST(SwatchColourTest, PacksRedGreenBlue) {
  const Swatch cases[] = {
      {u"255", u"0", u"0", 255},
      {u"0", u"0", u"255", 16711680},
      {u"0", u"255", u"0", 65280},
      {u"255", u"255", u"255", 16777215},
      {u"0", u"0", u"0", 0},
      {u"128", u"64", u"32", 128 + 256 * 64 + 65536 * 32},
      {u"1", u"2", u"3", 1 + 256 * 2 + 65536 * 3},
      // Half to even.
      {u"127.5", u"0", u"0", 128},
      {u"128.5", u"0", u"0", 128},
      {u"0.5", u"1.5", u"2.5", 0 + 256 * 2 + 65536 * 2},
      {u"127.4", u"127.6", u"0", 127 + 256 * 128},
      {u"254.5", u"0", u"0", 254},
      {u"-0.5", u"-0.4", u"-0", 0},  // round to zero: not negative
      // Above 255 is taken as 255.
      {u"255.5", u"0", u"0", 255},
      {u"300", u"0", u"0", 255},
      {u"0", u"999", u"0", 65280},
      {u"32767", u"32767", u"32767", 16777215},
      {u"32766.5", u"0", u"0", 255},
      {u"2.55E2", u" 0 ", u"+0", 255},
  };
  for (const char* name : kLocales) {
    const Locale locale = Locale::Named(name);
    const std::u16string& sep = locale.DecimalSeparator();
    for (const Swatch& c : cases) {
      SCOPED_TRACE(std::string(name) + " case " + std::to_string(&c - cases));
      EXPECT_EQ(SwatchColour(Localised(c.red, sep), Localised(c.green, sep),
                             Localised(c.blue, sep), locale),
                c.colour);
    }
  }
}

struct SwatchFailure {
  std::u16string red, green, blue;
  ErrorKind kind;
};

TEST(SwatchColourTest, FailsWithTheFirstFailureInBlueGreenRedOrder) {
  const Locale en = Locale::Named("en_US");
  const SwatchFailure cases[] = {
      {u"", u"0", u"0", ErrorKind::kTypeMismatch},
      {u"0", u" ", u"0", ErrorKind::kTypeMismatch},
      {u"0", u"0", u"a", ErrorKind::kTypeMismatch},
      {u"0", u"0", u"1,5", ErrorKind::kTypeMismatch},
      {u"32768", u"0", u"0", ErrorKind::kOverflow},
      {u"32767.5", u"0", u"0", ErrorKind::kOverflow},
      {u"-32769", u"0", u"0", ErrorKind::kOverflow},
      {u"0", u"1e400", u"0", ErrorKind::kOverflow},
      {u"0", u"0", u"1e300", ErrorKind::kOverflow},
      // Negative components are refused.
      {u"-5", u"0", u"0", ErrorKind::kInvalidArgument},
      {u"0", u"-1", u"0", ErrorKind::kInvalidArgument},
      {u"0", u"0", u"-0.6", ErrorKind::kInvalidArgument},
      {u"-32768", u"0", u"0", ErrorKind::kInvalidArgument},
      {u"-32768.5", u"0", u"0", ErrorKind::kInvalidArgument},  // rounds to -32768
      // Blue is converted first, then green, then red.
      {u"a", u"40000", u"b", ErrorKind::kTypeMismatch},
      {u"a", u"b", u"40000", ErrorKind::kOverflow},
      {u"a", u"40000", u"0", ErrorKind::kOverflow},
      {u"40000", u"a", u"0", ErrorKind::kTypeMismatch},
      // Every conversion comes before the sign test.
      {u"a", u"0", u"-5", ErrorKind::kTypeMismatch},
      {u"40000", u"-5", u"-5", ErrorKind::kOverflow},
  };
  for (const SwatchFailure& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    EXPECT_EQ(ErrorOf([&] { SwatchColour(c.red, c.green, c.blue, en); }), c.kind);
  }
}

TEST(SwatchColourTest, RoundingDoesNotDependOnTheFloatingPointMode) {
  const Locale en = Locale::Named("en_US");
  const int saved = std::fegetround();
  for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(std::fesetround(mode), 0);
    std::optional<runtime::Colour> even, odd;
    EXPECT_EQ(ErrorOf([&] { even = SwatchColour(u"128.5", u"1.5", u"0", en); }), std::nullopt);
    EXPECT_EQ(ErrorOf([&] { odd = SwatchColour(u"127.5", u"2.5", u"0", en); }), std::nullopt);
    std::fesetround(saved);
    EXPECT_EQ(even, runtime::Colour{128 + 256 * 2});
    EXPECT_EQ(odd, runtime::Colour{128 + 256 * 2});
  }
}

}  // namespace
}  // namespace pigmo::colour
