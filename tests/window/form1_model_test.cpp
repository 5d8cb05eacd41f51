// Form1 on the in-memory backend: random edit sequences (even seeds hostile) checked against what must always hold, run
// at length by scripts/soak with PIGMO_SOAK_SEQUENCES (default 1000 per locale) and PIGMO_SOAK_SEED (default 1); then
// worked edits for what the model cannot pin: exact texts, messages, failures, the layout.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "colour/colour_rules.h"
#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "runtime/memory/memory_form.h"
#include "test_probe.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::window {
namespace {

// Select all and paste: one edit.
void PasteOver(runtime::memory::MemoryTextBox& box, std::u16string_view clip) {
  box.UserSelectAll();
  box.UserPaste(clip);
}

struct MemoryForm1 {
  explicit MemoryForm1(runtime::Locale l) : locale(std::move(l)), form(Form1Description()), handlers(form, locale) {
    runtime::UnhandledErrors().Clear();
    form.Show();
  }
  runtime::memory::MemoryTextBox& Box(std::string_view name) { return form.Box(name); }
  std::u16string Text(std::string_view name) { return form.Box(name).Text(); }
  runtime::Colour Swatch() { return form.LabelNamed("Label4").BackColour(); }

  runtime::Locale locale;
  runtime::memory::MemoryForm form;
  Form1 handlers;
};

struct RowModel {
  const char *input, *fraction;
  double bound;
  std::u16string_view pattern;
};
// The inputs, the fraction boxes, the colour array box.
constexpr const char* kBoxes[] = {"Text1", "Text2", "Text3", "Text8", "Text4", "Text5", "Text6", "Text9", "Text7"};
constexpr RowModel kRows[] = {{"Text1", "Text4", 255, u"0.0000"},
                              {"Text2", "Text5", 255, u"0.0000"},
                              {"Text3", "Text6", 255, u"0.0000"},
                              {"Text8", "Text9", 100, u"0.00"}};

// A random user; a hostile one also edits the colour array box and types control characters, direction marks, lone
// surrogates, other scripts' digits and separators, and longer pastes.
struct Editor {
  const char* Edit() {
    const char* name = kBoxes[Pick(hostile ? 9 : 8)];
    auto& box = w.Box(name);
    const auto len = static_cast<std::int32_t>(box.Text().size());
    const int kind = Pick(8);  // where the edit goes, then what it does
    if (kind == 0 || kind == 3 || kind == 5) {
      const std::int32_t start = Pick(len + 1), length = Pick(len + 1);
      box.UserSelect(start, length);
    }
    if (kind == 4) box.UserMoveCaret(Pick(len + 1));
    if (kind == 6) box.UserSelectAll();
    if (kind <= 2) box.UserTypeChar(RandomChar());
    if (kind == 3) box.UserPaste(RandomClip());
    if (kind == 4) box.UserBackspace();
    if (kind == 5) box.UserDelete();
    if (kind == 6) box.UserCut();
    if (kind == 7) box.UserUndo();
    return name;
  }
  std::u16string RandomClip() {
    std::u16string clip;
    for (int n = Pick(hostile && Pick(16) == 0 ? 200 : 6); n > 0; --n) clip.push_back(RandomChar());
    return clip;
  }

  std::int32_t Pick(std::int32_t n) { return std::uniform_int_distribution<std::int32_t>(0, n - 1)(rng); }
  char16_t RandomChar() {
    static constexpr std::u16string_view kPlain =
        u"0123456789012345678901234567890123456789..,,--+ eEa\u066B\u00E4\uFF11^";
    using namespace std::string_view_literals;  // a literal view keeps the NUL
    static constexpr std::u16string_view kHostile =
        u"\u0000\u0001\t\n\u001B\u007F\u200E\u200F\u200B\u202E\u00AD\u00A0\u202F"
        u"\u0660\u0665\u06F5\u066B\u066C\u060C\uFF0C\uFF0E\uFF10\U0001D7CE\uFFFD"sv;
    const std::u16string_view from = hostile && Pick(4) == 0 ? kHostile : kPlain;
    return from[static_cast<std::size_t>(Pick(static_cast<std::int32_t>(from.size())))];
  }

  MemoryForm1& w;
  std::mt19937 rng;
  bool hostile;
};

// What must hold after every edit. It tracks what depends on the history: the colour array box (the user may have
// edited it since the last input edit) and the fraction texts the last check saw.
class Invariants {
 public:
  explicit Invariants(MemoryForm1& w) : w_(w), array_(w.Text("Text7")) {
    for (int r = 0; r < 4; ++r) {
      subscriptions_[r] = w_.Box(kRows[r].input).OnChange([this] { input_changed_ = true; });
      fractions_[r] = w_.Text(kRows[r].fraction);
    }
  }

  void Check(std::string_view where) {
    const auto show = [](const std::u16string& s) { return ::testing::PrintToString(s); };
    for (int r = 0; r < 4; ++r) {
      const RowModel& row = kRows[r];
      const std::u16string input = w_.Text(row.input), fraction = w_.Text(row.fraction);
      double n = 0;
      ASSERT_NO_THROW(n = colour::ParseNumber(input, w_.locale)) << row.input << " is no number: " << show(input);
      ASSERT_LE(n, row.bound) << row.input << " reads " << show(input);
      ASSERT_LE(input.size(), static_cast<std::size_t>(w_.Box(row.input).MaxLength())) << row.input;
      // The edge texts, else the fraction with "." as its decimal point.
      std::u16string pattern = colour::FractionText(input, row.bound, row.pattern, w_.locale);
      const std::u16string& sep = w_.locale.DecimalSeparator();
      if (const auto at = pattern.find(sep); at != std::u16string::npos) pattern.replace(at, sep.size(), u".");
      // An edge value may keep its pattern text: rewriting "0.00" (.3, then 0) changes nothing, so no edge rewrite.
      if (fraction != pattern || fraction != fractions_[r]) {
        ASSERT_EQ(fraction, n == 0 ? u"0" : n == row.bound ? u"1" : pattern) << row.fraction << " for " << show(input);
      }
      fractions_[r] = fraction;
    }
    // Text7: what the user left there, until an input handler rebuilds it.
    if (where == "Text7") array_ = w_.Text("Text7");
    if (input_changed_) array_ = colour::ArrayText(fractions_[0], fractions_[1], fractions_[2], fractions_[3]);
    input_changed_ = false;
    ASSERT_EQ(w_.Text("Text7"), array_);
    // Three characters keep every channel a colour (a negative one counts as 0).
    ASSERT_EQ(w_.Swatch(), colour::SwatchColour(w_.Text("Text1"), w_.Text("Text2"), w_.Text("Text3"), w_.locale));
    ASSERT_EQ(runtime::UnhandledErrors().Count(), 0u) << runtime::UnhandledErrors().Last()->what();
  }

 private:
  MemoryForm1& w_;
  runtime::Subscription subscriptions_[4];
  std::u16string fractions_[4], array_;
  bool input_changed_ = false;
};

// A soak size or seed: a positive whole number, or the fallback where unset. Anything else (0, -3, "ten") fails the
// test instead of running nothing.
long long FromEnvironment(const char* name, long long fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  char* end = nullptr;
  errno = 0;
  const long long n = std::strtoll(value, &end, 10);
  if (*end != '\0' || errno != 0 || n < 1) {
    ADD_FAILURE() << name << "=" << value << " is not a positive whole number";
    return 0;
  }
  return n;
}

class Form1ModelTest : public ::testing::TestWithParam<const char*> {};

TEST_P(Form1ModelTest, RandomEditsKeepEveryBoxInStep) {
  runtime::Locale locale = runtime::Locale::Named(GetParam());
  // Set here: Windows' locale data gives fa-IR another separator.
  if (std::string_view(GetParam()) == "fa_IR") locale = locale.WithDecimalSeparator(u"\u066B");
  const long long sequences = FromEnvironment("PIGMO_SOAK_SEQUENCES", 1000);
  const long long first = FromEnvironment("PIGMO_SOAK_SEED", 1);
  for (long long i = 0; i < sequences; ++i) {
    const auto seed = static_cast<std::uint32_t>(first + i);
    MemoryForm1 w(locale);
    Editor editor{w, std::mt19937(seed), seed % 2 == 0};
    Invariants invariants(w);
    for (int step = 0; step < 25 && !HasFailure(); ++step) invariants.Check(editor.Edit());
    ASSERT_FALSE(HasFailure()) << locale.Name() << ": PIGMO_SOAK_SEED=" << seed << " PIGMO_SOAK_SEQUENCES=1 replays it";
  }
}

// A point, a comma and the Arabic separator.
INSTANTIATE_TEST_SUITE_P(Locales, Form1ModelTest, ::testing::Values("en_US", "de_DE", "fa_IR"),
                         [](const auto& info) { return std::string(info.param); });

class Form1FlowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u); }
  MemoryForm1 w{runtime::Locale::Named("en_US")};
};

// From the start texts (held to the window table by the acceptance tests), each edit pasted over its whole box. A long
// paste is cut to the three-character limit before the handler sees it; "pairs" is cut inside a surrogate pair.
TEST_F(Form1FlowTest, FromTheStartEachEditSetsItsBoxItsFractionAndTheArray) {
  EXPECT_EQ(TestProbe::cRestrict(w.handlers), nullptr);  // no handler has run
  EXPECT_EQ(w.Box("Text1").SelectionLength(), 3);        // the first stop starts selected
  const auto& [red, green, blue, opacity] = kRows;
  const std::u16string nines(100000, u'9'), zeros(100000, u'0');
  std::u16string pairs;
  for (int i = 0; i < 50000; ++i) pairs += u"\U0001D7CE";
  const struct {
    const RowModel& row;
    std::u16string pasted, after, fraction, array;
  } edits[] = {
      {red, u"128", u"128", u"0.5020", u"[0.5020,1,1,1]"},
      {red, u"", u"0", u"0", u"[0,1,1,1]"},
      {green, u"64", u"64", u"0.2510", u"[0,0.2510,1,1]"},
      {green, u"300", u"255", u"1", u"[0,1,1,1]"},
      {blue, u"7", u"7", u"0.0275", u"[0,1,0.0275,1]"},
      {blue, u"a", u"255", u"1", u"[0,1,1,1]"},
      {red, u"-", u"255", u"1", u"[1,1,1,1]"},
      {opacity, u"50", u"50", u"0.50", u"[1,1,1,0.50]"},
      {opacity, u"101", u"100", u"1", u"[1,1,1,1]"},
      {green, zeros, u"000", u"0", u"[1,0,1,1]"},
      {red, nines, u"255", u"1", u"[1,0,1,1]"},
      {blue, pairs, u"255", u"1", u"[1,0,1,1]"},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(::testing::PrintToString(e.pasted.substr(0, 8)) + " into " + e.row.input);
    PasteOver(w.Box(e.row.input), e.pasted);
    EXPECT_EQ(w.Text(e.row.input), e.after);
    EXPECT_EQ(w.Text(e.row.fraction), e.fraction);
    EXPECT_EQ(w.Text("Text7"), e.array);
    EXPECT_EQ(TestProbe::ListenedBox(*TestProbe::cRestrict(w.handlers)), w.form.TextBoxNamed(e.row.fraction));
  }
}

// A negative channel stays (the model checks the texts it leads to); the next binding of its fraction drops the minus.
TEST_F(Form1FlowTest, ANegativeChannelStaysAndTheNextBindingDropsTheFractionsMinus) {
  PasteOver(w.Box("Text1"), u"-5");
  PasteOver(w.Box("Text2"), u"9");
  // The clean of the whole text drops the minus; the handler's write at caret 0 keeps it.
  std::vector<std::u16string> red_fractions;
  auto spy = w.Box("Text4").OnChange([&] { red_fractions.push_back(w.Text("Text4")); });
  PasteOver(w.Box("Text1"), u"-6");
  EXPECT_EQ(red_fractions, (std::vector<std::u16string>{u"0.0196", u"-0.0235"}));
  EXPECT_EQ(w.Text("Text7"), u"[-0.0235,0.0353,1,1]");
  // While Text1 is no number that clean neither fails nor writes "0" or "1"; then 255's 1.0000, written by the nested
  // and the outer run, is each time rewritten to 1 before the spy, listening last, reads it.
  PasteOver(w.Box("Text2"), u"8");
  red_fractions.clear();
  PasteOver(w.Box("Text1"), u"ab");
  EXPECT_EQ(w.Text("Text1"), u"255");
  EXPECT_EQ(red_fractions, (std::vector<std::u16string>{u"0.0235", u"1", u"1", u"1", u"1"}));
}

// The handler writes the locale's comma and the restriction object makes it "." (the model checks the end texts).
TEST(Form1CommaLocaleTest, TheHandlerWritesTheLocalesComma) {
  MemoryForm1 w(runtime::Locale::Named("de_DE"));
  std::vector<std::u16string> seen;
  auto spy = w.Box("Text4").OnChange([&] { seen.push_back(w.Text("Text4")); });
  PasteOver(w.Box("Text1"), u"128");
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"0,5020", u"0.5020"}));
}

// The swatch fails: a platform failure ends the handler (Text7, written next, shows it) and reaches the dispatch, a
// conversion error is suppressed, and the opacity handler, which does not paint, meets neither.
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
    for (const char* box : {"Text8", "Text1"}) PasteOver(form.memory.Box(box), u"50");
    const bool suppressed = runtime::IsConversionError(kind);
    EXPECT_EQ(form.memory.Box("Text7").Text(), suppressed ? u"[0.1961,1,1,0.50]" : u"[1,1,1,0.50]");
    ASSERT_EQ(runtime::UnhandledErrors().Count(), suppressed ? 0u : 1u);
    EXPECT_TRUE(suppressed || runtime::UnhandledErrors().Last()->kind() == kind);
  }
  runtime::UnhandledErrors().Clear();
}

}  // namespace
}  // namespace pigmo::window
