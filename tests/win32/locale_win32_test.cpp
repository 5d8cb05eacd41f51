// The locale service on Windows: names in either spelling, separators from Windows' locale data or the regional
// settings, and text compared blind to letter case and character width only.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "runtime/locale.h"

namespace pigmo::runtime {
namespace {

TEST(Win32LocaleTest, NamedLocalesGiveTheirStockSeparatorAndCompareBlindToCaseAndWidthOnly) {
  const std::tuple<const char*, const char*, std::u16string> names[] = {
      {"", "C", u"."}, {"POSIX", "C", u"."}, {"en-US", "en-US", u"."}, {"de-DE", "de-DE", u","},
      {"de_DE.UTF-8@euro", "de_DE", u","}, {"no_SUCH-locale", "no_SUCH-locale", u"."}};
  for (const auto& [requested, name, separator] : names) {
    EXPECT_EQ(std::pair(Locale::Named(requested).Name(), Locale::Named(requested).DecimalSeparator()),
              std::pair(std::string(name), separator)) << requested;
  }
  const std::tuple<std::u16string, std::u16string, bool> cases[] = {
      {u"b", u"B", true},  {u"\uFF21", u"a", true}, {u"\u00C4", u"\u00E4", true}, {u"a", u"b", false},
      {u".", u",", false}, {u"1", u"1.", false},    {u"\u00E4", u"a", false}};
  for (const char* name : {"C", "de_DE"}) {
    for (const auto& [a, b, equal] : cases) {
      EXPECT_EQ(Locale::Named(name).TextEquals(a, b), equal) << name << ": " << ::testing::PrintToString(a + u"|" + b);
    }
  }
}

// The user's own separator, set in the regional settings, counts for the user's locale only.
TEST(Win32LocaleTest, UserLocaleTakesTheSeparatorOfTheRegionalSettings) {
  wchar_t saved[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8), 1);
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"~"));
  const Locale user = Locale::FromEnvironment();
  const Locale named = Locale::Named(user.Name());
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  EXPECT_EQ(user.DecimalSeparator(), u"~");
  EXPECT_NE(named.DecimalSeparator(), u"~") << user.Name();
  EXPECT_EQ(user.WithDecimalSeparator(u",").DecimalSeparator(), u",");
}

}  // namespace
}  // namespace pigmo::runtime
