// Form1 on the in-memory backend: worked examples of each handler step,
// hostile input into every box, platform failures, and what must hold within
// its description whatever its values.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "test_probe.h"
#include "form1_model.h"

namespace pigmo::window {
namespace {

using testing::MemoryForm1;

constexpr runtime::Colour Rgb(int r, int g, int b) { return static_cast<runtime::Colour>(r + 256 * g + 65536 * b); }

class Form1FlowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u); }
  MemoryForm1 w{runtime::Locale::Named("en_US")};
};

TEST_F(Form1FlowTest, StartsWithItsStartTextsAndNoHandlerHasRun) {
  for (const char* name : {"Text1", "Text2", "Text3"}) EXPECT_EQ(w.Text(name), u"255");
  EXPECT_EQ(w.Text("Text8"), u"100");
  for (const char* name : {"Text4", "Text5", "Text6", "Text9"}) EXPECT_EQ(w.Text(name), u"1");
  EXPECT_EQ(w.Text("Text7"), u"[1,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(255, 255, 255));
  EXPECT_EQ(TestProbe::cRestrict(w.handlers), nullptr);
  EXPECT_EQ(w.form.FocusedName(), "Text1");
}

TEST_F(Form1FlowTest, TypingOverTheFullRedBoxGivesEachFraction) {
  // Text1 has the focus with its text selected, so the first key replaces it.
  const struct {
    char16_t key;
    std::u16string red, fraction, array;
    runtime::Colour swatch;
  } steps[] = {{u'1', u"1", u"0.0039", u"[0.0039,1,1,1]", Rgb(1, 255, 255)},
               {u'2', u"12", u"0.0471", u"[0.0471,1,1,1]", Rgb(12, 255, 255)},
               {u'8', u"128", u"0.5020", u"[0.5020,1,1,1]", Rgb(128, 255, 255)}};
  for (const auto& s : steps) {
    w.Box("Text1").UserTypeChar(s.key);
    EXPECT_EQ(w.Text("Text1"), s.red);
    EXPECT_EQ(w.Text("Text4"), s.fraction);
    EXPECT_EQ(w.Text("Text7"), s.array);
    EXPECT_EQ(w.Swatch(), s.swatch);
  }
  EXPECT_EQ(TestProbe::ListenedBox(*TestProbe::cRestrict(w.handlers)), w.form.TextBoxNamed("Text4"));
}

TEST_F(Form1FlowTest, TheEdgesAreWrittenAsOneAndZeroAndAnEmptyChannelIsZero) {
  w.Retype("Text1", u"64");
  EXPECT_EQ(w.Text("Text4"), u"0.2510");
  w.Retype("Text1", u"255");
  EXPECT_EQ(w.Text("Text4"), u"1");
  EXPECT_EQ(w.Text("Text7"), u"[1,1,1,1]");
  w.Box("Text1").UserSelectAll();
  w.Box("Text1").UserBackspace();
  EXPECT_EQ(w.Text("Text1"), u"0");
  EXPECT_EQ(w.Text("Text4"), u"0");
  EXPECT_EQ(w.Text("Text7"), u"[0,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(0, 255, 255));
}

TEST_F(Form1FlowTest, AboveTheBoundOrNotANumberBecomesTheBound) {
  const struct {
    const char *box, *fraction;
    std::u16string typed, after;
  } cases[] = {{"Text2", "Text5", u"300", u"255"}, {"Text3", "Text6", u"a", u"255"}, {"Text3", "Text6", u" ", u"255"},
               {"Text1", "Text4", u"-", u"255"}, {"Text8", "Text9", u"101", u"100"}, {"Text8", "Text9", u"x", u"100"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    w.Retype(c.box, u"7");
    w.Retype(c.box, c.typed);
    EXPECT_EQ(w.Text(c.box), c.after);
    EXPECT_EQ(w.Text(c.fraction), u"1");
    EXPECT_EQ(w.Text("Text7"), u"[1,1,1,1]");
  }
}

TEST_F(Form1FlowTest, OpacityWritesTwoDecimalsAndLeavesTheSwatch) {
  w.Retype("Text2", u"0");
  EXPECT_EQ(w.Swatch(), Rgb(255, 0, 255));
  w.Retype("Text8", u"50");
  EXPECT_EQ(w.Text("Text9"), u"0.50");
  EXPECT_EQ(w.Text("Text7"), u"[1,0,1,0.50]");
  EXPECT_EQ(w.Swatch(), Rgb(255, 0, 255));
}

// A negative channel paints as 0 and keeps its fraction; the next binding
// of its fraction box drops the minus.
TEST_F(Form1FlowTest, ANegativeChannelStaysAndTheNextBindingDropsTheFractionsMinus) {
  w.PasteOver("Text1", u"-5");
  EXPECT_EQ(w.Text("Text1"), u"-5");
  EXPECT_EQ(w.Text("Text4"), u"-0.0196");
  EXPECT_EQ(w.Text("Text7"), u"[-0.0196,1,1,1]");
  EXPECT_EQ(w.Swatch(), Rgb(0, 255, 255));
  w.Retype("Text2", u"9");
  EXPECT_EQ(TestProbe::ListenerCount(*w.form.TextBoxNamed("Text4")), 1u);  // the window's own only

  // The clean of the whole text drops the minus; the handler's write at caret 0 keeps it.
  std::vector<std::u16string> red_fractions;
  auto spy = w.Box("Text4").OnChange([&] { red_fractions.push_back(w.Text("Text4")); });
  w.PasteOver("Text1", u"-6");
  EXPECT_EQ(red_fractions, (std::vector<std::u16string>{u"0.0196", u"-0.0235"}));
  EXPECT_EQ(w.Text("Text7"), u"[-0.0235,0.0353,1,1]");

  // While Text1 is not a number yet, that clean must neither fail nor
  // write "0" or "1".
  w.Retype("Text2", u"8");
  w.PasteOver("Text1", u"ab");
  EXPECT_EQ(w.Text("Text1"), u"255");
  EXPECT_EQ(w.Text("Text4"), u"1");
}

TEST_F(Form1FlowTest, AboutMessageLeavesEveryFieldAsItWas) {
  w.Retype("Text1", u"128");
  w.form.ButtonControl("Command1").Click();
  ASSERT_EQ(w.form.Messages().size(), 1u);
  EXPECT_EQ(w.form.Messages()[0].title, u"Info");
  EXPECT_EQ(w.form.Messages()[0].text,
            u"This program helps you to recalculate an RGB value\r\n"
            u"into a color value for the Varnok Billboard effects.\r\n\r\nby Tolvane");
  EXPECT_EQ(w.Text("Text1"), u"128");
  EXPECT_EQ(w.Text("Text7"), u"[0.5020,1,1,1]");
}

// The restriction object turns the comma into "." before the array is built,
// and the locale's separator reads as a number.
TEST(Form1CommaLocaleTest, FractionsAndTheArrayUseAPoint) {
  MemoryForm1 w(runtime::Locale::Named("de_DE"));
  std::vector<std::u16string> seen;
  auto spy = w.Box("Text4").OnChange([&] { seen.push_back(w.Text("Text4")); });
  w.Retype("Text1", u"128");
  EXPECT_NE(std::find(seen.begin(), seen.end(), u"0,5020"), seen.end());
  EXPECT_EQ(w.Text("Text4"), u"0.5020");
  EXPECT_EQ(w.Text("Text7"), u"[0.5020,1,1,1]");
  w.PasteOver("Text1", u",5");
  EXPECT_EQ(w.Text("Text1"), u",5");
  EXPECT_EQ(w.Text("Text4"), u"0.0020");
  w.PasteOver("Text8", u",5");
  EXPECT_EQ(w.Text("Text9"), u"0.01");  // 0.005 rounds away from zero
  EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
}

std::u16string Repeat(std::u16string_view unit, std::size_t count) {
  std::u16string out;
  while (count-- > 0) out += unit;
  return out;
}

// Pasted over each input and then typed key by key: every invariant holds,
// and a paste leaves the clip cut to the three-character limit when that is
// a number within the bound, "0" for nothing, otherwise the bound (nullptr).
TEST(Form1BadInputTest, InputsStaySound) {
  const std::pair<std::u16string, const char16_t*> cases[] = {
      {Repeat(u"9", 100000), nullptr}, {Repeat(u"0", 100000), u"000"}, {Repeat(u"12a.,-\u066B", 14285), nullptr},
      {Repeat(u"\U0001D7CE", 50000), nullptr}, {u"1e400", nullptr}, {u"-0", u"-0"}, {u"nan", nullptr},
      {u"0x10", nullptr}, {u" 7 ", u" 7 "}, {u"", u"0"}, {u"1e2", u"1e2"}, {u"+9", u"+9"}, {u"1\U0001D7CF", nullptr},
      {std::u16string(1, char16_t{0xDC00}), nullptr}, {u"\u200E7", nullptr}, {u"\u202E12", nullptr},
      {u"1\u200B2", nullptr}, {std::u16string(u"5\0", 2), nullptr}, {u"\n", nullptr}, {u"\u00A05", nullptr},
      {u"\u0661\u0662", nullptr}, {u"\uFF11", nullptr}, {u"1,5", nullptr}, {u"\u066B5", nullptr},
  };
  MemoryForm1 w(runtime::Locale::Named("en_US"));
  testing::Invariants invariants(w);
  for (const auto& [clip, after] : cases) {
    for (const testing::RowModel& row : testing::kRows) {
      SCOPED_TRACE(::testing::PrintToString(clip.substr(0, 8)) + " into " + row.input);
      w.PasteOver(row.input, clip);
      ASSERT_TRUE(invariants.Check(row.input));
      EXPECT_EQ(w.Text(row.input), after != nullptr ? after : row.bound == 255 ? u"255" : u"100");
      w.Retype(row.input, clip.substr(0, 64));
      ASSERT_TRUE(invariants.Check(row.input));
    }
  }
}

// A platform failure of a handler step ends the handler and reaches the
// event dispatch; a conversion error is suppressed. The swatch fails here.
class FailingSwatchForm final : public runtime::Form {
 public:
  explicit FailingSwatchForm(runtime::ErrorKind kind) : swatch_(kind) {}
  std::shared_ptr<runtime::TextBox> TextBoxNamed(std::string_view name) override { return memory.TextBoxNamed(name); }
  runtime::Label& LabelNamed(std::string_view name) override {
    return name == "Label4" ? swatch_ : memory.LabelNamed(name);
  }
  runtime::Button& ButtonNamed(std::string_view name) override { return memory.ButtonNamed(name); }
  void ShowInfo(std::u16string_view text, std::u16string_view title) override { memory.ShowInfo(text, title); }
  void Show() override { memory.Show(); }
  runtime::memory::MemoryForm memory{Form1Description()};

 private:
  struct Swatch final : runtime::Label {
    explicit Swatch(runtime::ErrorKind kind) : kind(kind) {}
    std::u16string Caption() const override { return u""; }
    runtime::Colour BackColour() const override { return 0; }
    void SetBackColour(runtime::Colour) override { runtime::Raise(kind, "cannot paint the swatch"); }
    runtime::ErrorKind kind;
  } swatch_;
};

TEST(Form1PlatformErrorTest, OnlyConversionErrorsAreSuppressedByAHandlerStep) {
  for (const runtime::ErrorKind kind : {runtime::ErrorKind::kOverflow, runtime::ErrorKind::kPlatform}) {
    SCOPED_TRACE(runtime::ErrorKindName(kind));
    FailingSwatchForm form(kind);
    Form1 handlers(form, runtime::Locale::Named("en_US"));
    runtime::UnhandledErrors().Clear();
    form.memory.Box("Text1").UserSelectAll(), form.memory.Box("Text1").UserType(u"0");
    // The colour array text is the step after the swatch.
    const bool suppressed = runtime::IsConversionError(kind);
    EXPECT_EQ(form.memory.Box("Text7").Text(), suppressed ? u"[0,1,1,1]" : u"[1,1,1,1]");
    ASSERT_EQ(runtime::UnhandledErrors().Count(), suppressed ? 0u : 1u);
    if (!suppressed) {
      EXPECT_EQ(runtime::UnhandledErrors().Last()->kind(), kind);
    }
  }
  runtime::UnhandledErrors().Clear();
}

// What must hold within the description whatever its values; each toolkit's
// own tests check the window it builds from it.
TEST(Form1DescriptionTest, LayoutTabOrderAccessNamesAndRulesAreSound) {
  const runtime::FormSpec& form = Form1Description();
  std::set<int> right_edges;
  std::vector<int> tab_order;
  std::set<std::u16string_view> names;
  for (const runtime::ControlSpec& c : form.controls) {
    SCOPED_TRACE(std::string(c.name));
    for (const int twips : {c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height}) EXPECT_EQ(twips % 15, 0);
    EXPECT_LE(c.bounds.left + c.bounds.width, form.client_width);
    EXPECT_LE(c.bounds.top + c.bounds.height, form.client_height);
    if (c.name == "Label4" || c.name == "Command1" || c.name == "Text7") right_edges.insert(c.bounds.left + c.bounds.width);
    tab_order.push_back(c.tab_index);
    EXPECT_FALSE(c.accessible_name.empty());
    EXPECT_TRUE(names.insert(c.accessible_name).second) << "accessible names are unique";
    EXPECT_EQ(c.text.find(u'&'), std::u16string_view::npos) << "no caption has an access key";
    EXPECT_TRUE(c.kind == runtime::ControlKind::kTextBox || (!c.read_only && c.max_length == 0));
  }
  EXPECT_EQ(right_edges.size(), 1u) << "the swatch, the button and the array box line up on the right";
  std::sort(tab_order.begin(), tab_order.end());
  for (int i = 0; i < static_cast<int>(tab_order.size()); ++i) EXPECT_EQ(tab_order[i], i);
}

}  // namespace
}  // namespace pigmo::window
