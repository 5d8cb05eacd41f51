// Hostile input on the whole window: huge pastes, characters outside the
// Basic Multilingual Plane, lone surrogates, control characters, direction
// marks, numbers no double holds, "nan", hexadecimal, blanks. After each
// edit every input must hold a number within its bound, every fraction box
// must match its input, the colour array text must match the fraction
// boxes, and no error may have reached the event dispatch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colour/colour_rules.h"
#include "form1_model.h"
#include "form1_test_support.h"

namespace pigmo::window {
namespace {

using testing::MemoryForm1;

std::u16string Repeat(std::u16string_view unit, std::size_t count) {
  std::u16string out;
  out.reserve(unit.size() * count);
  for (std::size_t i = 0; i < count; ++i) out += unit;
  return out;
}

// A clip pasted over the whole of an input box, and what the box must hold
// afterwards: the clip cut to the three-character limit when that is a
// number within the bound, "0" for nothing, otherwise the bound.
struct BadPaste {
  const char* what;
  std::u16string clip;
  std::u16string channel;  // Text1, Text2, Text3 afterwards
  std::u16string opacity;  // Text8 afterwards
};

std::vector<BadPaste> PointLocaleCases() {
  return {
      {"100,000 nines", Repeat(u"9", 100000), u"255", u"100"},
      {"100,000 zeros", Repeat(u"0", 100000), u"000", u"000"},
      {"100,000 mixed characters", Repeat(u"12a.,-\u066B", 100000 / 7), u"255", u"100"},
      {"100,000 surrogate pairs", Repeat(u"\U0001D7CE", 50000), u"255", u"100"},
      {"too large for a double, cut to 1e4", u"1e400", u"255", u"100"},
      {"minus zero", u"-0", u"-0", u"-0"},
      {"nan", u"nan", u"255", u"100"},
      {"inf", u"inf", u"255", u"100"},
      {"hexadecimal", u"0x10", u"255", u"100"},
      {"a blank", u" ", u"255", u"100"},
      {"blanks around a digit", u" 7 ", u" 7 ", u" 7 "},
      {"nothing", u"", u"0", u"0"},
      {"a lone sign", u"-", u"255", u"100"},
      {"a negative channel", u"-5", u"-5", u"-5"},
      {"an exponent", u"1e2", u"1e2", u"1e2"},
      {"a plus sign", u"+9", u"+9", u"+9"},
      {"a mathematical digit outside the BMP", u"\U0001D7CF", u"255", u"100"},
      {"a digit and half a surrogate pair", u"1\U0001D7CF", u"255", u"100"},
      {"a lone high surrogate", std::u16string(1, char16_t{0xD800}), u"255", u"100"},
      {"a lone low surrogate", std::u16string(1, char16_t{0xDC00}), u"255", u"100"},
      {"a left-to-right mark", u"\u200E7", u"255", u"100"},
      {"a right-to-left mark", u"7\u200F", u"255", u"100"},
      {"a right-to-left override", u"\u202E12", u"255", u"100"},
      {"a zero-width space", u"1\u200B2", u"255", u"100"},
      {"a tab", u"\t5", u"255", u"100"},
      {"a NUL", std::u16string(u"5\0", 2), u"255", u"100"},
      {"an escape", u"\u001B1", u"255", u"100"},
      {"a line break", u"\n", u"255", u"100"},
      {"a delete character", u"\u007F", u"255", u"100"},
      {"a no-break space", u"\u00A05", u"255", u"100"},
      {"Arabic-Indic digits", u"\u0661\u0662", u"255", u"100"},
      {"a full-width digit", u"\uFF11", u"255", u"100"},
      {"a comma where the separator is a point", u"1,5", u"255", u"100"},
      {"the Arabic separator where it is a point", u"\u066B5", u"255", u"100"},
      {"the replacement character", u"\uFFFD", u"255", u"100"},
  };
}

class Form1BadInputTest : public ::testing::TestWithParam<const char*> {};

// Pasted over each input box in turn, and then typed key by key.
TEST_P(Form1BadInputTest, InputsStaySound) {
  MemoryForm1 w(GetParam());
  model::Invariants invariants(w.form, w.locale);
  const bool point_locale = w.locale.DecimalSeparator() == u".";
  for (const BadPaste& c : PointLocaleCases()) {
    for (const model::RowModel& row : model::kRows) {
      SCOPED_TRACE(std::string(c.what) + " into " + row.input);
      w.PasteOver(row.input, c.clip);
      ASSERT_EQ(invariants.Check(row.input), "");
      if (point_locale) {
        EXPECT_EQ(w.Text(row.input), row.bound == 255 ? c.channel : c.opacity);
      }

      w.Retype(row.input, c.clip.substr(0, 64));
      ASSERT_EQ(invariants.Check(row.input), "");
    }
  }
}

// The separator of a comma or Arabic-script locale reads as a number there,
// and the fraction box still ends up with ".".
TEST_P(Form1BadInputTest, TheLocaleSeparatorReadsAsANumber) {
  MemoryForm1 w(GetParam());
  model::Invariants invariants(w.form, w.locale);
  const std::u16string half = w.locale.DecimalSeparator() + u"5";
  w.PasteOver("Text1", half);
  ASSERT_EQ(invariants.Check("Text1"), "");
  EXPECT_EQ(w.Text("Text1"), half);
  EXPECT_EQ(w.Text("Text4"), u"0.0020");
  w.PasteOver("Text8", half);
  ASSERT_EQ(invariants.Check("Text8"), "");
  EXPECT_EQ(w.Text("Text9"), u"0.01");  // 0.005 rounds away from zero
}

// The colour array box has no length limit and no handler: it holds
// whatever is pasted until the next input edit rebuilds it.
TEST_P(Form1BadInputTest, AHugePasteIntoTheArrayBoxLastsUntilTheNextInputEdit) {
  MemoryForm1 w(GetParam());
  model::Invariants invariants(w.form, w.locale);
  // A lone surrogate, a direction mark, a NUL and a surrogate pair, over
  // and over, ending in half a pair.
  const std::u16string unit = {u'[', 0xD800, 0x200E, 0x0000, u',', 0xD835, 0xDFCE, u']'};
  const std::u16string clip = Repeat(unit, 100000 / unit.size()) + std::u16string(1, char16_t{0xDFFF});
  w.PasteOver("Text7", clip);
  ASSERT_EQ(invariants.Check("Text7"), "");
  EXPECT_EQ(w.Text("Text7"), clip);

  w.Retype("Text2", u"128");
  ASSERT_EQ(invariants.Check("Text2"), "");
  EXPECT_EQ(w.Text("Text7"), u"[1,0.5020,1,1]");
}

// The fraction boxes are read-only: a paste or a key there changes nothing.
TEST_P(Form1BadInputTest, TheFractionBoxesRefuseEveryEdit) {
  MemoryForm1 w(GetParam());
  model::Invariants invariants(w.form, w.locale);
  for (const model::RowModel& row : model::kRows) {
    SCOPED_TRACE(row.fraction);
    const std::u16string before = w.Text(row.fraction);
    w.PasteOver(row.fraction, Repeat(std::u16string{u'-', u',', 0xD800}, 100000 / 3));
    w.Box(row.fraction).UserTypeChar(u'\u066B');
    w.Box(row.fraction).UserSelectAll();
    w.Box(row.fraction).UserCut();
    w.Box(row.fraction).UserDelete();
    EXPECT_EQ(w.Text(row.fraction), before);
    ASSERT_EQ(invariants.Check(row.fraction), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, Form1BadInputTest, ::testing::Values("C", "en_US", "de_DE", "fa_IR", "ar_EG"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace pigmo::window
