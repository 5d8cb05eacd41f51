#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form1_test_support.h"

namespace pigmo::window {
namespace {

using testing::MemoryForm1;

constexpr runtime::Colour Rgb(int r, int g, int b) {
  return static_cast<runtime::Colour>(r + 256 * g + 65536 * b);
}

class Form1FlowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u); }
  MemoryForm1 w{"en_US"};
};

TEST_F(Form1FlowTest, StartsWithItsStartTextsAndNoHandlerHasRun) {
  for (const char* name : {"Text1", "Text2", "Text3"}) EXPECT_EQ(w.Text(name), u"255");
  EXPECT_EQ(w.Text("Text8"), u"100");
  for (const char* name : {"Text4", "Text5", "Text6", "Text9"}) EXPECT_EQ(w.Text(name), u"1");
  EXPECT_EQ(w.Text("Text7"), u"[1,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(255, 255, 255));
  EXPECT_EQ(w.handlers.cRestrictObject(), nullptr);
  EXPECT_EQ(w.form.FocusedName(), "Text1");
}

TEST_F(Form1FlowTest, TypingOverTheFullRedBoxGivesEachFraction) {
  // Text1 has the focus with its text selected, so the first key replaces it.
  struct Step {
    char16_t key;
    std::u16string red, fraction, array;
    runtime::Colour swatch;
  };
  const std::vector<Step> steps = {
      {u'1', u"1", u"0.0039", u"[0.0039,1,1,1]", Rgb(1, 255, 255)},
      {u'2', u"12", u"0.0471", u"[0.0471,1,1,1]", Rgb(12, 255, 255)},
      {u'8', u"128", u"0.5020", u"[0.5020,1,1,1]", Rgb(128, 255, 255)},
  };
  for (const Step& s : steps) {
    w.Box("Text1").UserTypeChar(s.key);
    EXPECT_EQ(w.Text("Text1"), s.red);
    EXPECT_EQ(w.Text("Text4"), s.fraction);
    EXPECT_EQ(w.Text("Text7"), s.array);
    EXPECT_EQ(w.Swatch(), s.swatch);
  }
  ASSERT_NE(w.handlers.cRestrictObject(), nullptr);
  EXPECT_EQ(w.handlers.cRestrictObject()->ListenedBox(), w.form.TextBoxNamed("Text4"));
}

TEST_F(Form1FlowTest, TheUpperBoundIsWrittenAsOne) {
  w.Retype("Text1", u"64");
  EXPECT_EQ(w.Text("Text4"), u"0.2510");
  w.Retype("Text1", u"255");
  EXPECT_EQ(w.Text("Text4"), u"1");
  EXPECT_EQ(w.Text("Text7"), u"[1,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(255, 255, 255));
}

TEST_F(Form1FlowTest, EmptyingAChannelSetsItToZero) {
  w.Box("Text1").UserSelectAll();
  w.Box("Text1").UserBackspace();
  EXPECT_EQ(w.Text("Text1"), u"0");
  EXPECT_EQ(w.Text("Text4"), u"0");
  EXPECT_EQ(w.Text("Text7"), u"[0,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(0, 255, 255));
}

TEST_F(Form1FlowTest, AboveTheBoundOrNotANumberBecomesTheBound) {
  struct Case {
    const char* box;
    const char* fraction;
    std::u16string typed;
    std::u16string after;
  };
  for (const Case& c : std::vector<Case>{{"Text2", "Text5", u"300", u"255"},
                                         {"Text3", "Text6", u"a", u"255"},
                                         {"Text3", "Text6", u" ", u"255"},
                                         {"Text1", "Text4", u"-", u"255"},
                                         {"Text8", "Text9", u"101", u"100"},
                                         {"Text8", "Text9", u"x", u"100"}}) {
    SCOPED_TRACE(std::string(c.box));
    w.Retype(c.box, u"7");
    w.Retype(c.box, c.typed);
    EXPECT_EQ(w.Text(c.box), c.after);
    EXPECT_EQ(w.Text(c.fraction), u"1");
    EXPECT_EQ(w.Text("Text7"), u"[1,1,1,1]");
  }
}

TEST_F(Form1FlowTest, OpacityWritesTwoDecimalsAndLeavesTheSwatch) {
  w.Retype("Text2", u"0");
  const runtime::Colour before = w.Swatch();
  EXPECT_EQ(before, Rgb(255, 0, 255));
  w.Retype("Text8", u"50");
  EXPECT_EQ(w.Text("Text9"), u"0.50");
  EXPECT_EQ(w.Text("Text7"), u"[1,0,1,0.50]");
  EXPECT_EQ(w.Swatch(), before);
  w.Retype("Text8", u"7");
  EXPECT_EQ(w.Text("Text9"), u"0.07");
}

TEST_F(Form1FlowTest, NegativeChannelIsNotCorrectedAndKeepsTheSwatch) {
  w.Retype("Text1", u"128");
  w.PasteOver("Text1", u"-5");
  EXPECT_EQ(w.Text("Text1"), u"-5");
  EXPECT_EQ(w.Text("Text4"), u"-0.0196");
  EXPECT_EQ(w.Text("Text7"), u"[-0.0196,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(128, 255, 255));
}

TEST_F(Form1FlowTest, RebindingCleansTheWholeFractionBoxAndDropsAMinusSign) {
  w.PasteOver("Text1", u"-5");
  w.Retype("Text2", u"9");
  EXPECT_EQ(w.handlers.cRestrictObject()->ListenedBox(), w.form.TextBoxNamed("Text5"));
  EXPECT_EQ(w.form.TextBoxNamed("Text4")->ChangeListenerCount(), 1u);  // the window's own only

  std::vector<std::u16string> red_fractions;
  auto spy = w.Box("Text4").OnChange([&] { red_fractions.push_back(w.Text("Text4")); });
  w.PasteOver("Text1", u"-6");
  EXPECT_EQ(w.handlers.cRestrictObject()->ListenedBox(), w.form.TextBoxNamed("Text4"));
  EXPECT_EQ(red_fractions, (std::vector<std::u16string>{u"0.0196", u"-0.0235"}));
  EXPECT_EQ(w.Text("Text7"), u"[-0.0235,0.0353,1,1]");
}

TEST_F(Form1FlowTest, FractionBoxLeftAloneWhileItsInputIsNotANumber) {
  w.PasteOver("Text1", u"-5");
  w.Retype("Text2", u"9");
  // Binding back to Text4 strips its minus sign while Text1 still reads
  // "ab": its fraction handler must neither fail nor write.
  w.PasteOver("Text1", u"ab");
  EXPECT_EQ(w.Text("Text1"), u"255");
  EXPECT_EQ(w.Text("Text4"), u"1");
}

TEST_F(Form1FlowTest, ReadOnlyBoxesRefuseTheUser) {
  w.Box("Text4").UserSelectAll();
  w.Box("Text4").UserType(u"5");
  w.Box("Text4").UserPaste(u"0.5");
  w.Box("Text4").UserBackspace();
  EXPECT_EQ(w.Text("Text4"), u"1");
  EXPECT_EQ(w.Box("Text4").UserCopy(), u"1");
  EXPECT_EQ(w.handlers.cRestrictObject(), nullptr);
}

TEST_F(Form1FlowTest, AboutMessageLeavesEveryFieldAsItWas) {
  w.Retype("Text1", u"128");
  const std::u16string array = w.Text("Text7");
  w.form.ButtonControl("Command1").Click();
  ASSERT_EQ(w.form.Messages().size(), 1u);
  EXPECT_EQ(w.form.Messages()[0].title, u"Info");
  EXPECT_EQ(w.form.Messages()[0].text,
            u"This program helps you to recalculate an RGB value\r\n"
            u"into a color value for the Varnok Billboard effects.\r\n\r\nby Tolvane");
  EXPECT_EQ(w.Text("Text1"), u"128");
  EXPECT_EQ(w.Text("Text7"), array);
}

struct LocaleCase {
  const char* locale;
  std::u16string pasted;  // over the whole of Text1
  std::u16string red_fraction;
};

class Form1LocaleTest : public ::testing::TestWithParam<LocaleCase> {};

// Whatever the locale's decimal separator, the fraction boxes and the
// colour array text carry ASCII digits and ".".
TEST_P(Form1LocaleTest, FractionsAndArrayUseAPoint) {
  const LocaleCase& c = GetParam();
  MemoryForm1 w(c.locale);
  w.PasteOver("Text1", c.pasted);
  EXPECT_EQ(w.Text("Text4"), c.red_fraction);
  w.Retype("Text8", u"50");
  EXPECT_EQ(w.Text("Text9"), u"0.50");
  EXPECT_EQ(w.Text("Text7"), u"[" + c.red_fraction + u",1,1,0.50]");
  // Binding another box and back does not change a fraction's value.
  w.Retype("Text2", u"255");
  EXPECT_EQ(w.Text("Text4"), c.red_fraction);
  EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, Form1LocaleTest,
    ::testing::Values(LocaleCase{"C", u"128", u"0.5020"}, LocaleCase{"en_US", u"128", u"0.5020"},
                      LocaleCase{"de_DE", u"128", u"0.5020"}, LocaleCase{"fr_FR", u"128", u"0.5020"},
                      LocaleCase{"fa_IR", u"128", u"0.5020"}, LocaleCase{"ar_EG", u"128", u"0.5020"},
                      LocaleCase{"en_US", u"1e2", u"0.3922"}),
    [](const auto& info) { return info.param.locale + std::to_string(info.index); });

class Form1LocaleInputTest : public ::testing::TestWithParam<const char*> {};

// Inputs are read in the locale's own notation, whatever its separator.
TEST_P(Form1LocaleInputTest, DecimalInputUsesTheLocalesSeparator) {
  MemoryForm1 w(GetParam());
  w.PasteOver("Text1", u"0" + w.locale.DecimalSeparator() + u"5");
  EXPECT_EQ(w.Text("Text1"), u"0" + w.locale.DecimalSeparator() + u"5");
  EXPECT_EQ(w.Text("Text4"), u"0.0020");
  EXPECT_EQ(w.Text("Text7"), u"[0.0020,1,1,1]");
  EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Locales, Form1LocaleInputTest,
                         ::testing::Values("C", "en_US", "de_DE", "fr_FR", "fa_IR", "ar_EG"));

TEST(Form1CommaLocaleTest, RestrictionTurnsTheCommaIntoAPointBeforeTheArrayIsBuilt) {
  MemoryForm1 w("de_DE");
  std::vector<std::u16string> seen;
  auto spy = w.Box("Text4").OnChange([&] { seen.push_back(w.Text("Text4")); });
  w.Retype("Text1", u"128");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), u"0.5020");
  EXPECT_NE(std::find(seen.begin(), seen.end(), u"0,5020"), seen.end());
  EXPECT_EQ(w.Text("Text7"), u"[0.5020,1,1,1]");
}

}  // namespace
}  // namespace pigmo::window
