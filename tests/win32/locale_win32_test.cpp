// The locale service on Windows: names in either spelling, separators from
// Windows' locale data and the user's from the regional settings, and the
// comparison of CompareStringEx.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "runtime/locale.h"

namespace pigmo::runtime {
namespace {

TEST(Win32LocaleTest, NamedLocalesGiveTheirStockSeparator) {
  struct Case {
    const char* requested;
    const char* name;
    std::u16string separator;
  };
  for (const Case& c : std::initializer_list<Case>{{"", "C", u"."},
                                                   {"POSIX", "C", u"."},
                                                   {"en-US", "en-US", u"."},
                                                   {"de_DE.UTF-8@euro", "de_DE", u","},
                                                   {"de-DE", "de-DE", u","},
                                                   {"fr_FR", "fr_FR", u","},
                                                   {"no_SUCH-locale", "no_SUCH-locale", u"."}}) {
    const Locale locale = Locale::Named(c.requested);
    EXPECT_EQ(locale.Name(), c.name) << c.requested;
    EXPECT_EQ(locale.DecimalSeparator(), c.separator) << c.requested;
  }
}

// The user's own separator, set in the regional settings, counts for the
// user's locale only.
TEST(Win32LocaleTest, UserLocaleTakesTheSeparatorOfTheRegionalSettings) {
  wchar_t saved[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8), 1);
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"~"));
  const Locale user = Locale::FromEnvironment();
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  EXPECT_EQ(user.DecimalSeparator(), u"~");
  EXPECT_NE(Locale::Named(user.Name()).DecimalSeparator(), u"~") << user.Name();
  EXPECT_EQ(user.WithDecimalSeparator(u",").DecimalSeparator(), u",");
  EXPECT_TRUE(user.WithDecimalSeparator(u",").TextEquals(u"x", u"X"));
}

// Letter case and character width do not count; letters, accents, digits
// and punctuation do.
TEST(Win32LocaleTest, ComparisonIgnoresCaseAndWidthOnly) {
  struct Case {
    std::u16string a, b;
    bool equal;
  };
  const Case cases[] = {{u"b", u"B", true},        {u"abAB", u"ABab", true},  {u"", u"", true},
                        {u"\uFF21", u"a", true},   {u"\uFF0E", u".", true},   {u"\u00C4", u"\u00E4", true},
                        {u"a", u"b", false},       {u".", u",", false},       {u"^", u".", false},
                        {u"1", u"2", false},       {u"1", u"1.", false},      {u"", u".", false},
                        {u"\u00E4", u"a", false},  {u"\u00E9", u"e", false}};
  for (const char* name : {"C", "en_US", "de_DE", "tr_TR"}) {
    const Locale locale = Locale::Named(name);
    for (const Case& c : cases) {
      EXPECT_EQ(locale.TextEquals(c.a, c.b), c.equal) << name << ": " << ::testing::PrintToString(c.a) << " vs "
                                                      << ::testing::PrintToString(c.b);
    }
  }
}

}  // namespace
}  // namespace pigmo::runtime
