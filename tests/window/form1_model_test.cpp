// Random user edit sequences over the whole window, checking after every
// edit what must always hold between the boxes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "colour/colour_rules.h"
#include "form1_test_support.h"
#include "runtime/error.h"

namespace pigmo::window {
namespace {

using testing::MemoryForm1;

struct RowModel {
  const char* input;
  const char* fraction;
  double bound;
  std::u16string_view pattern;
};

constexpr RowModel kRows[] = {{"Text1", "Text4", 255, u"0.0000"},
                              {"Text2", "Text5", 255, u"0.0000"},
                              {"Text3", "Text6", 255, u"0.0000"},
                              {"Text8", "Text9", 100, u"0.00"}};

// What a fraction box must hold for its input, worked out from the rules
// alone: the edge texts, or the fraction with "." as its decimal point.
std::u16string ExpectedFraction(const RowModel& row, const std::u16string& input,
                                const runtime::Locale& locale) {
  const double n = colour::ParseNumber(input, locale);
  if (n == 0) return u"0";
  if (n == row.bound) return u"1";
  std::u16string text = colour::FractionText(input, row.bound, row.pattern, locale);
  const std::u16string& sep = locale.DecimalSeparator();
  if (const auto at = text.find(sep); at != std::u16string::npos) text.replace(at, sep.size(), u".");
  return text;
}

class Editor {
 public:
  Editor(MemoryForm1& w, std::uint32_t seed) : w_(w), rng_(seed) {}

  // One random user edit; returns the box it went to.
  const char* Edit() {
    static const char* const kBoxes[] = {"Text1", "Text2", "Text3", "Text8",
                                         "Text4", "Text5", "Text6", "Text9"};
    const char* name = kBoxes[Pick(8)];
    auto& box = w_.Box(name);
    const auto len = static_cast<std::int32_t>(box.Text().size());
    switch (Pick(8)) {
      case 0: box.UserSelect(Pick(len + 1), Pick(len + 1)); [[fallthrough]];
      case 1:
      case 2: box.UserTypeChar(RandomChar()); break;
      case 3: box.UserSelect(Pick(len + 1), Pick(len + 1)); box.UserPaste(RandomText()); break;
      case 4: box.UserMoveCaret(Pick(len + 1)); box.UserBackspace(); break;
      case 5: box.UserSelect(Pick(len + 1), Pick(len + 1)); box.UserDelete(); break;
      case 6: box.UserSelectAll(); box.UserCut(); break;
      default: box.UserUndo(); break;
    }
    return name;
  }

 private:
  std::int32_t Pick(std::int32_t n) {
    return static_cast<std::int32_t>(std::uniform_int_distribution<std::int32_t>(0, n - 1)(rng_));
  }
  char16_t RandomChar() {
    static constexpr std::u16string_view kAlphabet =
        u"0123456789012345678901234567890123456789..,,--+ eEa\u066B\u00E4\uFF11^";
    return kAlphabet[static_cast<size_t>(Pick(static_cast<std::int32_t>(kAlphabet.size())))];
  }
  std::u16string RandomText() {
    std::u16string s;
    for (int n = Pick(6); n > 0; --n) s.push_back(RandomChar());
    return s;
  }

  MemoryForm1& w_;
  std::mt19937 rng_;
};

class Form1ModelTest : public ::testing::TestWithParam<const char*> {};

TEST_P(Form1ModelTest, RandomEditsKeepEveryBoxInStep) {
  constexpr int kSequences = 400;
  constexpr int kEditsPerSequence = 25;
  const char* locale_name = GetParam();
  for (int seq = 0; seq < kSequences; ++seq) {
    const auto seed = static_cast<std::uint32_t>(seq * 7919 + 17);
    MemoryForm1 w(locale_name);
    Editor editor(w, seed);
    runtime::Colour swatch = w.Swatch();
    for (int step = 0; step < kEditsPerSequence; ++step) {
      const std::string where = editor.Edit();
      const std::string trace = std::string(locale_name) + " seed " + std::to_string(seed) +
                                " edit " + std::to_string(step) + " in " + where;
      SCOPED_TRACE(trace);

      std::u16string fractions[4];
      for (int r = 0; r < 4; ++r) {
        const RowModel& row = kRows[r];
        const std::u16string input = w.Text(row.input);
        double n = 0;
        try {
          n = colour::ParseNumber(input, w.locale);
        } catch (const runtime::Error& e) {
          ADD_FAILURE() << row.input << " is not a number: " << e.what();
          return;
        }
        ASSERT_LE(n, row.bound) << row.input;
        fractions[r] = w.Text(row.fraction);
        ASSERT_EQ(fractions[r], ExpectedFraction(row, input, w.locale)) << row.fraction;
      }
      ASSERT_EQ(w.Text("Text7"),
                colour::ArrayText(fractions[0], fractions[1], fractions[2], fractions[3]));
      if (where == "Text1" || where == "Text2" || where == "Text3") {
        try {
          swatch = colour::SwatchColour(w.Text("Text1"), w.Text("Text2"), w.Text("Text3"), w.locale);
        } catch (const runtime::Error&) {
          // a negative channel: the swatch keeps its colour
        }
      }
      ASSERT_EQ(w.Swatch(), swatch);
      ASSERT_EQ(runtime::UnhandledErrors().Count(), 0u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, Form1ModelTest,
                         ::testing::Values("C", "en_US", "de_DE", "fr_FR", "fa_IR"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace pigmo::window
