// Form1's handlers on real Win32 edit controls: the conversion event flow,
// typed through the message loop. The same flow runs on the in-memory
// backend in tests/window; here it meets the control's own notifications,
// the nesting of writes inside a keystroke and the typed-length limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/locale.h"
#include "win32/win32_harness.h"
#include "window/form1.h"

namespace pigmo::window {
namespace {

using runtime::win32::testing::Win32Harness;

constexpr runtime::Colour Rgb(int r, int g, int b) {
  return static_cast<runtime::Colour>(r + 256 * g + 65536 * b);
}

// Form1 with its handlers, on the Win32 backend, shown.
class Win32Form1 {
 public:
  explicit Win32Form1(const char* locale)
      : form_(harness.Build(Form1Description())), handlers(form_, runtime::Locale::Named(locale)) {
    runtime::UnhandledErrors().Clear();
    harness.Show();
  }
  std::u16string Text(std::string_view name) { return form_.TextBoxNamed(name)->Text(); }
  runtime::Colour Swatch() { return form_.LabelNamed("Label4").BackColour(); }
  // Select all, then one keystroke per character.
  void Retype(std::string_view name, std::u16string_view keys) {
    harness.Select(name, 0, static_cast<std::int32_t>(Text(name).size()));
    harness.Type(name, keys);
  }
  void PasteOver(std::string_view name, std::u16string_view clip) {
    harness.Select(name, 0, static_cast<std::int32_t>(Text(name).size()));
    harness.Paste(name, clip);
  }

  Win32Harness harness;

 private:
  runtime::Form& form_;

 public:
  Form1 handlers;
};

class Win32Form1FlowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u); }
  Win32Form1 w{"en_US"};
};

TEST_F(Win32Form1FlowTest, TypingOverTheFullRedBoxGivesEachFraction) {
  struct Step {
    char16_t key;
    std::u16string red, fraction, array;
    runtime::Colour swatch;
  };
  const std::vector<Step> steps = {
      {u'1', u"1", u"0.0039", u"[0.0039,1,1,1]", Rgb(1, 255, 255)},
      {u'2', u"12", u"0.0471", u"[0.0471,1,1,1]", Rgb(12, 255, 255)},
      {u'8', u"128", u"0.5020", u"[0.5020,1,1,1]", Rgb(128, 255, 255)},
      {u'9', u"128", u"0.5020", u"[0.5020,1,1,1]", Rgb(128, 255, 255)},  // refused: 3 at most
  };
  // Text1 has the focus with its text selected: the first key replaces it.
  for (const Step& s : steps) {
    w.harness.Type("Text1", std::u16string(1, s.key));
    EXPECT_EQ(w.Text("Text1"), s.red);
    EXPECT_EQ(w.Text("Text4"), s.fraction);
    EXPECT_EQ(w.Text("Text7"), s.array);
    EXPECT_EQ(w.Swatch(), s.swatch);
  }
}

TEST_F(Win32Form1FlowTest, EmptyingAChannelSetsItToZeroInsideTheKeystroke) {
  w.harness.Select("Text1", 0, 3);
  w.harness.Backspace("Text1");
  EXPECT_EQ(w.Text("Text1"), u"0");
  EXPECT_EQ(w.Text("Text4"), u"0");
  EXPECT_EQ(w.Text("Text7"), u"[0,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(0, 255, 255));
  // The box still takes typing afterwards, after its "0".
  w.harness.Type("Text1", u"7");
  EXPECT_EQ(w.Text("Text1").size(), 2u);
}

TEST_F(Win32Form1FlowTest, AboveTheBoundOrNotANumberBecomesTheBound) {
  struct Case {
    const char* box;
    const char* fraction;
    std::u16string typed;
    std::u16string after;
  };
  for (const Case& c : std::vector<Case>{{"Text2", "Text5", u"300", u"255"},
                                         {"Text3", "Text6", u"a", u"255"},
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

TEST_F(Win32Form1FlowTest, OpacityWritesTwoDecimalsAndLeavesTheSwatch) {
  w.Retype("Text2", u"0");
  EXPECT_EQ(w.Swatch(), Rgb(255, 0, 255));
  w.Retype("Text8", u"50");
  EXPECT_EQ(w.Text("Text9"), u"0.50");
  EXPECT_EQ(w.Text("Text7"), u"[1,0,1,0.50]");
  EXPECT_EQ(w.Swatch(), Rgb(255, 0, 255));
}

TEST_F(Win32Form1FlowTest, PastedNegativeChannelIsKept) {
  w.Retype("Text1", u"128");
  w.PasteOver("Text1", u"-5");
  EXPECT_EQ(w.Text("Text1"), u"-5");
  EXPECT_EQ(w.Text("Text4"), u"-0.0196");
  EXPECT_EQ(w.Text("Text7"), u"[-0.0196,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(128, 255, 255));
}

TEST_F(Win32Form1FlowTest, ReadOnlyFractionBoxRefusesTheUserButCopies) {
  w.harness.Select("Text4", 0, 1);
  w.harness.Type("Text4", u"5");
  w.harness.Paste("Text4", u"0.5");
  w.harness.Backspace("Text4");
  EXPECT_EQ(w.Text("Text4"), u"1");
  w.harness.Select("Text4", 0, 1);
  EXPECT_EQ(w.harness.Copy("Text4"), u"1");
}

TEST_F(Win32Form1FlowTest, InfoShowsTheAboutMessageAndLeavesEveryField) {
  w.Retype("Text1", u"128");
  const std::u16string array = w.Text("Text7");
  w.harness.Click("Command1");
  const auto messages = w.harness.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, u"Info");
  EXPECT_EQ(messages[0].lines,
            (std::vector<std::u16string>{u"This program helps you to recalculate an RGB value",
                                         u"into a color value for the Varnok Billboard effects.",
                                         u"", u"by Tolvane"}));
  EXPECT_TRUE(messages[0].information_icon);
  EXPECT_TRUE(messages[0].only_ok_button);
  EXPECT_EQ(w.Text("Text1"), u"128");
  EXPECT_EQ(w.Text("Text7"), array);
}

TEST(Win32Form1CommaLocaleTest, RestrictionTurnsTheCommaIntoAPointBeforeTheArrayIsBuilt) {
  Win32Form1 w("de_DE");
  std::vector<std::u16string> seen;
  auto spy = w.harness.form().TextBoxNamed("Text4")->OnChange([&] { seen.push_back(w.Text("Text4")); });
  w.Retype("Text1", u"128");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), u"0.5020");
  EXPECT_NE(std::find(seen.begin(), seen.end(), u"0,5020"), seen.end());
  EXPECT_EQ(w.Text("Text4"), u"0.5020");
  EXPECT_EQ(w.Text("Text7"), u"[0.5020,1,1,1]");
  EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
}

}  // namespace
}  // namespace pigmo::window
