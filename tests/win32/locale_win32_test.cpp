// The locale services on Windows: LOCALE_SDECIMAL and CompareStringEx.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/locale.h"

namespace pigmo::runtime {
namespace {

struct SeparatorCase {
  const char* name;
  std::u16string separator;
};

class Win32LocaleSeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(Win32LocaleSeparatorTest, GivesTheLocalesDecimalSeparator) {
  EXPECT_EQ(Locale::Named(GetParam().name).DecimalSeparator(), GetParam().separator);
}

// POSIX names (with codeset and modifier) and Windows names both work.
INSTANTIATE_TEST_SUITE_P(Locales, Win32LocaleSeparatorTest,
                         ::testing::Values(SeparatorCase{"C", u"."}, SeparatorCase{"POSIX", u"."},
                                           SeparatorCase{"", u"."},
                                           SeparatorCase{"en_US", u"."},
                                           SeparatorCase{"en-US", u"."},
                                           SeparatorCase{"en_US.UTF-8", u"."},
                                           SeparatorCase{"de_DE", u","},
                                           SeparatorCase{"de-DE", u","},
                                           SeparatorCase{"de_DE.UTF-8@euro", u","},
                                           SeparatorCase{"fr_FR", u","},
                                           SeparatorCase{"no_SUCH-locale", u"."}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Win32LocaleTest, NameDropsCodesetAndModifier) {
  EXPECT_EQ(Locale::Named("de_DE.UTF-8@euro").Name(), "de_DE");
  EXPECT_EQ(Locale::Named("de-DE").Name(), "de-DE");
  EXPECT_EQ(Locale::Named("POSIX").Name(), "C");
  EXPECT_EQ(Locale::Named("").Name(), "C");
}

TEST(Win32LocaleTest, ComparisonIgnoresCaseButNotLetters) {
  for (const char* name : {"C", "en_US", "de_DE", "fr_FR", "tr_TR"}) {
    SCOPED_TRACE(name);
    const Locale locale = Locale::Named(name);
    EXPECT_TRUE(locale.TextEquals(u"b", u"B"));
    EXPECT_TRUE(locale.TextEquals(u"abAB", u"ABab"));
    EXPECT_FALSE(locale.TextEquals(u"a", u"b"));
    EXPECT_FALSE(locale.TextEquals(u".", u","));
    EXPECT_FALSE(locale.TextEquals(u"^", u"."));
    EXPECT_FALSE(locale.TextEquals(u"1", u"2"));
    EXPECT_FALSE(locale.TextEquals(u"1", u"1."));
    EXPECT_TRUE(locale.TextEquals(u"", u""));
    EXPECT_FALSE(locale.TextEquals(u"", u"."));
  }
}

TEST(Win32LocaleTest, ComparisonIgnoresWidthButNotAccents) {
  const Locale locale = Locale::Named("de_DE");
  EXPECT_TRUE(locale.TextEquals(u"\uFF21", u"a"));    // fullwidth A
  EXPECT_TRUE(locale.TextEquals(u"\uFF0E", u"."));    // fullwidth full stop
  EXPECT_TRUE(locale.TextEquals(u"\u00C4", u"\u00E4"));  // Ä, ä
  EXPECT_FALSE(locale.TextEquals(u"\u00E4", u"a"));
  EXPECT_FALSE(locale.TextEquals(u"\u00E9", u"e"));
}

TEST(Win32LocaleTest, UserLocaleIsTheOneOfTheRegionalSettings) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 1);
  wchar_t separator[8] = {};
  ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8), 1);

  const Locale user = Locale::FromEnvironment();
  std::string expected_name;
  for (const wchar_t* p = name; *p != L'\0'; ++p) expected_name.push_back(static_cast<char>(*p));
  EXPECT_EQ(user.Name(), expected_name);
  EXPECT_EQ(user.DecimalSeparator(), std::u16string(reinterpret_cast<const char16_t*>(separator)));
  EXPECT_TRUE(user.TextEquals(u"x", u"X"));
}

TEST(Win32LocaleTest, WithDecimalSeparatorKeepsTheComparison) {
  const Locale de = Locale::Named("de_DE").WithDecimalSeparator(u".");
  EXPECT_EQ(de.DecimalSeparator(), u".");
  EXPECT_EQ(de.Name(), "de_DE");
  EXPECT_TRUE(de.TextEquals(u"x", u"X"));
  EXPECT_EQ(Locale::Named("de_DE").DecimalSeparator(), u",");
}

}  // namespace
}  // namespace pigmo::runtime
