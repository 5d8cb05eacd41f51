#include "runtime/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>

namespace pigmo::runtime {
namespace {

TEST(LocaleTest, NamesSeparatorsAndACaseBlindComparison) {
  const std::tuple<Locale, const char*, std::u16string> cases[] = {
      {Locale::Named("C"), "C", u"."}, {Locale::Named("POSIX"), "C", u"."}, {Locale::Named(""), "C", u"."},
      {Locale::Named("en_US"), "en_US", u"."}, {Locale::Named("en_US.UTF-8"), "en_US", u"."},
      {Locale::Named("de_DE.UTF-8@euro"), "de_DE", u","}, {Locale::Named("fa_IR"), "fa_IR", u"\u066B"},
      {Locale::Named("fa_IR").WithDecimalSeparator(u"."), "fa_IR", u"."}};  // the name and comparison stay
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const auto& [locale, name, separator] = cases[i];
    EXPECT_EQ(locale.Name(), name);
    EXPECT_EQ(locale.DecimalSeparator(), separator);
    EXPECT_TRUE(locale.TextEquals(u"abAB", u"ABab") && locale.TextEquals(u"", u""));
    for (auto [a, b] : {std::pair{u"a", u"b"}, {u".", u","}, {u"^", u"."}, {u"1", u"2"}, {u"", u"."}}) {
      EXPECT_FALSE(locale.TextEquals(a, b)) << ::testing::PrintToString(std::u16string(a));
    }
  }
}

TEST(LocaleTest, EnvironmentOrderIsLcAllThenLcNumericThenLang) {
  const char* vars[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i) if (const char* v = std::getenv(vars[i])) saved[i] = v;
  setenv("LC_ALL", "", 1);  // empty counts as unset
  setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
  setenv("LANG", "en_US.UTF-8", 1);
  EXPECT_EQ(Locale::FromEnvironment().Name(), "de_DE");
  setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(Locale::FromEnvironment().Name(), "en_US");
  for (const char* var : vars) unsetenv(var);
  EXPECT_EQ(Locale::FromEnvironment().Name(), "C");
  for (int i = 0; i < 3; ++i) if (saved[i]) setenv(vars[i], saved[i]->c_str(), 1);
}

}  // namespace
}  // namespace pigmo::runtime
