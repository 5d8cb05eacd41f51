// The locale service on each platform (ICU on Linux, Windows' own locale data under Wine): names in either spelling,
// stock separators, the user's locale, and a comparison blind to letter case and character width only.
#include "runtime/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#ifdef _WIN32
#include <windows.h>
#endif

namespace pigmo::runtime {
namespace {

TEST(LocaleTest, NamedLocalesKeepTheirNameAndGiveTheirStockSeparator) {
  const std::tuple<const char*, const char*, std::u16string> names[] = {
      {"", "C", u"."},
      {"POSIX", "C", u"."},
      {"en_US.UTF-8", "en_US", u"."},
      {"de_DE.UTF-8@euro", "de_DE", u","},
#ifdef _WIN32
      {"en-US", "en-US", u"."},
      {"no_SUCH-locale", "no_SUCH-locale", u"."},
#else
      {"fa_IR", "fa_IR", u"\u066B"},  // Windows' data gives fa-IR another one
#endif
  };
  for (const auto& [requested, name, separator] : names) {
    EXPECT_EQ(std::pair(Locale::Named(requested).Name(), Locale::Named(requested).DecimalSeparator()),
              std::pair(std::string(name), separator))
        << requested;
  }
  const Locale own = Locale::Named("de_DE").WithDecimalSeparator(u"::");
  EXPECT_EQ(std::pair(own.Name(), own.DecimalSeparator()), std::pair(std::string("de_DE"), std::u16string(u"::")));
  EXPECT_TRUE(own.TextEquals(u"x", u"X"));  // the comparison stays
}

TEST(LocaleTest, ComparisonIsBlindToCaseAndWidthOnly) {
  const std::tuple<std::u16string, std::u16string, bool> cases[] = {
      {u"b", u"B", true},       {u"abAB", u"ABab", true},     {u"", u"", true},     {u"\uFF21", u"a", true},
      {u"\uFF0E", u".", true},  {u"\u00C4", u"\u00E4", true}, {u"a", u"b", false},  {u".", u",", false},
      {u"^", u".", false},      {u"1", u"2", false},          {u"1", u"1.", false}, {u"", u".", false},
      {u"\u00E4", u"a", false}, {u"\u00E9", u"e", false}};
  for (const char* name : {"C", "en_US", "de_DE", "tr_TR"}) {
    for (const auto& [a, b, equal] : cases) {
      EXPECT_EQ(Locale::Named(name).TextEquals(a, b), equal) << name << ": " << ::testing::PrintToString(a + u"|" + b);
    }
  }
}

#ifdef _WIN32
// The separator set in the regional settings counts for the user's locale only.
TEST(LocaleTest, TheUsersLocaleTakesTheSeparatorOfTheRegionalSettings) {
  wchar_t saved[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8), 1);
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"~"));
  const Locale user = Locale::FromEnvironment();
  const Locale named = Locale::Named(user.Name());
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  EXPECT_EQ(user.DecimalSeparator(), u"~");
  EXPECT_NE(named.DecimalSeparator(), u"~") << user.Name();
}
#else
TEST(LocaleTest, TheUsersLocaleComesFromLcAllThenLcNumericThenLang) {
  const char* vars[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i)
    if (const char* v = std::getenv(vars[i])) saved[i] = v;
  setenv("LC_ALL", "", 1);  // empty counts as unset
  setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
  setenv("LANG", "en_US.UTF-8", 1);
  EXPECT_EQ(Locale::FromEnvironment().Name(), "de_DE");
  setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(Locale::FromEnvironment().Name(), "en_US");
  for (const char* var : vars) unsetenv(var);
  EXPECT_EQ(Locale::FromEnvironment().Name(), "C");
  for (int i = 0; i < 3; ++i)
    if (saved[i]) setenv(vars[i], saved[i]->c_str(), 1);
}
#endif

}  // namespace
}  // namespace pigmo::runtime
