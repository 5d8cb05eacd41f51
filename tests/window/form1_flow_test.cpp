// Form1 on the in-memory backend: what the model test (random edits against
// invariants) cannot pin: exact texts of worked edits, the About message, a
// negative channel, a comma locale, platform failures, and the layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "form1_model.h"
#include "test_probe.h"

namespace pigmo::window {
namespace {

using testing::MemoryForm1;

class Form1FlowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u); }
  MemoryForm1 w{runtime::Locale::Named("en_US")};
};

// From the start texts, one edit after another, each pasted over its whole box.
TEST_F(Form1FlowTest, EachEditSetsItsBoxItsFractionAndTheArray) {
  const char16_t* start[] = {u"255", u"255", u"255", u"100", u"1", u"1", u"1", u"1", u"[1,1,1,1]"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(w.Text(testing::kBoxes[i]), start[i]) << testing::kBoxes[i];
  EXPECT_EQ(w.Swatch(), 0xFFFFFFu);
  EXPECT_EQ(w.form.FocusedName(), "Text1");
  EXPECT_EQ(TestProbe::cRestrict(w.handlers), nullptr);  // no handler has run
  const auto& [red, green, blue, opacity] = testing::kRows;
  const struct {
    const testing::RowModel& row;
    std::u16string pasted, after, fraction, array;
  } edits[] = {
      {red, u"128", u"128", u"0.5020", u"[0.5020,1,1,1]"}, {red, u"255", u"255", u"1", u"[1,1,1,1]"},
      {red, u"", u"0", u"0", u"[0,1,1,1]"}, {green, u"64", u"64", u"0.2510", u"[0,0.2510,1,1]"},
      {green, u"300", u"255", u"1", u"[0,1,1,1]"}, {blue, u"7", u"7", u"0.0275", u"[0,1,0.0275,1]"},
      {blue, u"a", u"255", u"1", u"[0,1,1,1]"}, {blue, u" ", u"255", u"1", u"[0,1,1,1]"},
      {red, u"-", u"255", u"1", u"[1,1,1,1]"}, {opacity, u"50", u"50", u"0.50", u"[1,1,1,0.50]"},
      {opacity, u"101", u"100", u"1", u"[1,1,1,1]"}, {opacity, u"x", u"100", u"1", u"[1,1,1,1]"},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(::testing::PrintToString(e.pasted) + " into " + e.row.input);
    w.PasteOver(e.row.input, e.pasted);
    EXPECT_EQ(w.Text(e.row.input), e.after);
    EXPECT_EQ(w.Text(e.row.fraction), e.fraction);
    EXPECT_EQ(w.Text("Text7"), e.array);
    EXPECT_EQ(TestProbe::ListenedBox(*TestProbe::cRestrict(w.handlers)), w.form.TextBoxNamed(e.row.fraction));
  }
}

// A long paste is cut to the three-character limit, then corrected: "999"
// to the bound, "000" kept, and half a surrogate pair at the cut to the bound.
TEST_F(Form1FlowTest, ALongPasteIsCutToTheLimitThenCorrected) {
  std::u16string pairs;
  for (int i = 0; i < 50000; ++i) pairs += u"\U0001D7CE";
  for (const auto& [clip, kept] : {std::pair{std::u16string(100000, u'9'), false}, {std::u16string(100000, u'0'), true},
                                   {pairs, false}}) {
    for (const testing::RowModel& row : testing::kRows) {
      w.PasteOver(row.input, clip);
      EXPECT_EQ(w.Text(row.input), kept ? u"000" : row.bound == 255 ? u"255" : u"100") << row.input;
    }
  }
}

// A negative channel paints as 0 and keeps its fraction; the next binding
// of its fraction box drops the minus.
TEST_F(Form1FlowTest, ANegativeChannelStaysAndTheNextBindingDropsTheFractionsMinus) {
  w.PasteOver("Text1", u"-5");
  EXPECT_EQ(w.Text("Text1"), u"-5");
  EXPECT_EQ(w.Text("Text4"), u"-0.0196");
  EXPECT_EQ(w.Text("Text7"), u"[-0.0196,1,1,1]");
  EXPECT_EQ(w.Swatch(), 0xFFFF00u);  // 0x00BBGGRR
  w.PasteOver("Text2", u"9");
  EXPECT_EQ(TestProbe::ListenerCount(*w.form.TextBoxNamed("Text4")), 1u);  // the window's own only

  // The clean of the whole text drops the minus; the handler's write at caret 0 keeps it.
  std::vector<std::u16string> red_fractions;
  auto spy = w.Box("Text4").OnChange([&] { red_fractions.push_back(w.Text("Text4")); });
  w.PasteOver("Text1", u"-6");
  EXPECT_EQ(red_fractions, (std::vector<std::u16string>{u"0.0196", u"-0.0235"}));
  EXPECT_EQ(w.Text("Text7"), u"[-0.0235,0.0353,1,1]");

  // While Text1 is not a number yet, that clean must neither fail nor
  // write "0" or "1".
  w.PasteOver("Text2", u"8");
  w.PasteOver("Text1", u"ab");
  EXPECT_EQ(w.Text("Text1"), u"255");
  EXPECT_EQ(w.Text("Text4"), u"1");
}

TEST_F(Form1FlowTest, AboutMessageLeavesEveryFieldAsItWas) {
  w.PasteOver("Text1", u"128");
  w.form.ButtonControl("Command1").Click();
  ASSERT_EQ(w.form.Messages().size(), 1u);
  EXPECT_EQ(w.form.Messages()[0].title, u"Info");
  EXPECT_EQ(w.form.Messages()[0].text,
            u"This program helps you to recalculate an RGB value\r\n"
            u"into a color value for the Varnok Billboard effects.\r\n\r\nby Tolvane");
  EXPECT_EQ(w.Text("Text1"), u"128");
  EXPECT_EQ(w.Text("Text7"), u"[0.5020,1,1,1]");
}

// The handler writes the locale's comma, and the restriction object turns it
// into "." before the array is built.
TEST(Form1CommaLocaleTest, FractionsAndTheArrayUseAPoint) {
  MemoryForm1 w(runtime::Locale::Named("de_DE"));
  std::vector<std::u16string> seen;
  auto spy = w.Box("Text4").OnChange([&] { seen.push_back(w.Text("Text4")); });
  w.PasteOver("Text1", u"128");
  EXPECT_NE(std::find(seen.begin(), seen.end(), u"0,5020"), seen.end());
  EXPECT_EQ(w.Text("Text4"), u"0.5020");
  EXPECT_EQ(w.Text("Text7"), u"[0.5020,1,1,1]");
  EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
}

// The swatch fails here: a platform failure of a handler step ends the
// handler and reaches the event dispatch, a conversion error is suppressed,
// and the opacity handler, which does not paint, meets neither.
class FailingSwatchForm final : public runtime::Form {
 public:
  explicit FailingSwatchForm(runtime::ErrorKind kind) : kind(kind) {}
  std::shared_ptr<runtime::TextBox> TextBoxNamed(std::string_view name) override { return memory.TextBoxNamed(name); }
  runtime::Label& LabelNamed(std::string_view name) override {
    if (name == "Label4") runtime::Raise(kind, "cannot paint the swatch");
    return memory.LabelNamed(name);
  }
  runtime::Button& ButtonNamed(std::string_view name) override { return memory.ButtonNamed(name); }
  void ShowInfo(std::u16string_view, std::u16string_view) override {}
  void Show() override {}
  runtime::ErrorKind kind;
  runtime::memory::MemoryForm memory{Form1Description()};
};

TEST(Form1PlatformErrorTest, OnlyConversionErrorsAreSuppressedByAHandlerStep) {
  for (const runtime::ErrorKind kind : {runtime::ErrorKind::kOverflow, runtime::ErrorKind::kPlatform}) {
    SCOPED_TRACE(runtime::ErrorKindName(kind));
    FailingSwatchForm form(kind);
    Form1 handlers(form, runtime::Locale::Named("en_US"));
    runtime::UnhandledErrors().Clear();
    form.memory.Box("Text8").UserSelectAll();
    form.memory.Box("Text8").UserType(u"50");
    EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
    form.memory.Box("Text1").UserSelectAll();
    form.memory.Box("Text1").UserType(u"0");
    // The colour array text is the step after the swatch.
    const bool suppressed = runtime::IsConversionError(kind);
    EXPECT_EQ(form.memory.Box("Text7").Text(), suppressed ? u"[0,1,1,0.50]" : u"[1,1,1,0.50]");
    ASSERT_EQ(runtime::UnhandledErrors().Count(), suppressed ? 0u : 1u);
    EXPECT_TRUE(suppressed || runtime::UnhandledErrors().Last()->kind() == kind);
  }
  runtime::UnhandledErrors().Clear();
}

// What can break in the description whatever its values; each toolkit's own
// tests check the window it builds from it.
TEST(Form1DescriptionTest, ControlsFitTheTabOrderIsWholeAndAccessNamesAreUnique) {
  const runtime::FormSpec& form = Form1Description();
  std::vector<int> tab_order;
  std::set<std::u16string_view> names;
  for (const runtime::ControlSpec& c : form.controls) {
    SCOPED_TRACE(std::string(c.name));
    EXPECT_LE(c.bounds.left + c.bounds.width, form.client_width);
    EXPECT_LE(c.bounds.top + c.bounds.height, form.client_height);
    tab_order.push_back(c.tab_index);
    EXPECT_TRUE(!c.accessible_name.empty() && names.insert(c.accessible_name).second) << "a unique accessible name";
    EXPECT_EQ(c.text.find(u'&'), std::u16string_view::npos) << "no caption has an access key";
  }
  std::sort(tab_order.begin(), tab_order.end());
  for (int i = 0; i < static_cast<int>(tab_order.size()); ++i) EXPECT_EQ(tab_order[i], i);
}

}  // namespace
}  // namespace pigmo::window
