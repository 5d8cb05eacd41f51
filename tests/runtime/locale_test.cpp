#include "runtime/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pigmo::runtime {
namespace {

struct SeparatorCase {
  const char* name;
  std::u16string separator;
};

class LocaleSeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(LocaleSeparatorTest, GivesTheLocalesDecimalSeparator) {
  EXPECT_EQ(Locale::Named(GetParam().name).DecimalSeparator(), GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleSeparatorTest,
                         ::testing::Values(SeparatorCase{"C", u"."}, SeparatorCase{"POSIX", u"."},
                                           SeparatorCase{"en_US", u"."},
                                           SeparatorCase{"en_US.UTF-8", u"."},
                                           SeparatorCase{"de_DE", u","},
                                           SeparatorCase{"de_DE.UTF-8@euro", u","},
                                           SeparatorCase{"fr_FR", u","},
                                           SeparatorCase{"fa_IR", u"\u066B"},
                                           SeparatorCase{"ar_EG", u"\u066B"}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LocaleTest, NameDropsCodesetAndModifier) {
  EXPECT_EQ(Locale::Named("de_DE.UTF-8@euro").Name(), "de_DE");
  EXPECT_EQ(Locale::Named("POSIX").Name(), "C");
  EXPECT_EQ(Locale::Named("").Name(), "C");
}

TEST(LocaleTest, ComparisonIgnoresCaseButNotLetters) {
  for (const char* name : {"C", "en_US", "de_DE", "fr_FR", "fa_IR"}) {
    SCOPED_TRACE(name);
    const Locale locale = Locale::Named(name);
    EXPECT_TRUE(locale.TextEquals(u"b", u"B"));
    EXPECT_TRUE(locale.TextEquals(u"abAB", u"ABab"));
    EXPECT_FALSE(locale.TextEquals(u"a", u"b"));
    EXPECT_FALSE(locale.TextEquals(u".", u","));
    EXPECT_FALSE(locale.TextEquals(u"^", u"."));
    EXPECT_FALSE(locale.TextEquals(u"1", u"2"));
    EXPECT_TRUE(locale.TextEquals(u"", u""));
    EXPECT_FALSE(locale.TextEquals(u"", u"."));
  }
}

TEST(LocaleTest, EnvironmentOrderIsLcAllThenLcNumericThenLang) {
  const auto save = [](const char* var) {
    const char* v = std::getenv(var);
    return v ? std::optional<std::string>(v) : std::nullopt;
  };
  const auto all = save("LC_ALL"), numeric = save("LC_NUMERIC"), lang = save("LANG");
  unsetenv("LC_ALL");
  setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
  setenv("LANG", "en_US.UTF-8", 1);
  EXPECT_EQ(Locale::FromEnvironment().DecimalSeparator(), u",");
  setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(Locale::FromEnvironment().DecimalSeparator(), u".");
  unsetenv("LC_ALL");
  unsetenv("LC_NUMERIC");
  unsetenv("LANG");
  EXPECT_EQ(Locale::FromEnvironment().Name(), "C");
  const auto restore = [](const char* var, const std::optional<std::string>& v) {
    if (v) setenv(var, v->c_str(), 1); else unsetenv(var);
  };
  restore("LC_ALL", all);
  restore("LC_NUMERIC", numeric);
  restore("LANG", lang);
}

TEST(LocaleTest, WithDecimalSeparatorKeepsTheComparison) {
  const Locale fa = Locale::Named("fa_IR").WithDecimalSeparator(u".");
  EXPECT_EQ(fa.DecimalSeparator(), u".");
  EXPECT_EQ(fa.Name(), "fa_IR");
  EXPECT_TRUE(fa.TextEquals(u"x", u"X"));
}

}  // namespace
}  // namespace pigmo::runtime
