// Form1 on the in-memory backend, a random simulated user, and what must
// hold between the boxes after every edit.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "colour/colour_rules.h"
#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "runtime/memory/memory_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::window::testing {

struct MemoryForm1 {
  explicit MemoryForm1(runtime::Locale l) : locale(std::move(l)), form(Form1Description()), handlers(form, locale) {
    runtime::UnhandledErrors().Clear();
    form.Show();
  }
  runtime::memory::MemoryTextBox& Box(std::string_view name) { return form.Box(name); }
  std::u16string Text(std::string_view name) { return form.Box(name).Text(); }
  runtime::Colour Swatch() { return form.LabelNamed("Label4").BackColour(); }
  // Select all and paste: one edit.
  void PasteOver(std::string_view name, std::u16string_view clip) {
    Box(name).UserSelectAll();
    Box(name).UserPaste(clip);
  }

  runtime::Locale locale;
  runtime::memory::MemoryForm form;
  Form1 handlers;
};

struct RowModel {
  const char *input, *fraction;
  double bound;
  std::u16string_view pattern;
};
// The inputs, the fraction boxes and the colour array box.
inline constexpr const char* kBoxes[] = {"Text1", "Text2", "Text3", "Text8", "Text4", "Text5", "Text6", "Text9", "Text7"};
inline constexpr RowModel kRows[] = {{"Text1", "Text4", 255, u"0.0000"}, {"Text2", "Text5", 255, u"0.0000"},
                                     {"Text3", "Text6", 255, u"0.0000"}, {"Text8", "Text9", 100, u"0.00"}};

// A random simulated user. A hostile one also edits the colour array box and
// types control characters, direction marks, lone surrogates, other scripts'
// digits and separators, and longer pastes.
class Editor {
 public:
  Editor(MemoryForm1& w, std::uint32_t seed, bool hostile) : w_(w), rng_(seed), hostile_(hostile) {}

  // One random edit; returns the box it went to.
  const char* Edit() {
    const char* name = kBoxes[Pick(hostile_ ? 9 : 8)];
    auto& box = w_.Box(name);
    const auto len = static_cast<std::int32_t>(box.Text().size());
    const int kind = Pick(8);
    if (kind == 0 || kind == 3 || kind == 5) {
      const std::int32_t start = Pick(len + 1), length = Pick(len + 1);
      box.UserSelect(start, length);
    }
    if (kind <= 2) {
      box.UserTypeChar(RandomChar());
    } else if (kind == 3) {
      std::u16string clip;
      for (int n = Pick(hostile_ && Pick(16) == 0 ? 200 : 6); n > 0; --n) clip.push_back(RandomChar());
      box.UserPaste(clip);
    } else if (kind == 4) {
      box.UserMoveCaret(Pick(len + 1));
      box.UserBackspace();
    } else if (kind == 5) {
      box.UserDelete();
    } else if (kind == 6) {
      box.UserSelectAll();
      box.UserCut();
    } else {
      box.UserUndo();
    }
    return name;
  }

 private:
  std::int32_t Pick(std::int32_t n) { return std::uniform_int_distribution<std::int32_t>(0, n - 1)(rng_); }
  char16_t RandomChar() {
    static constexpr std::u16string_view kPlain = u"0123456789012345678901234567890123456789..,,--+ eEa\u066B\u00E4\uFF11^";
    using namespace std::string_view_literals;  // a literal view keeps the NUL
    static constexpr std::u16string_view kHostile =
        u"\u0000\u0001\t\n\u001B\u007F\u200E\u200F\u200B\u202E\u00AD\u00A0\u202F"
        u"\u0660\u0665\u06F5\u066B\u066C\u060C\uFF0C\uFF0E\uFF10\U0001D7CE\uFFFD"sv;
    const std::u16string_view from = hostile_ && Pick(4) == 0 ? kHostile : kPlain;
    return from[static_cast<std::size_t>(Pick(static_cast<std::int32_t>(from.size())))];
  }

  MemoryForm1& w_;
  std::mt19937 rng_;
  bool hostile_;
};

// What must hold after every edit; a failure stops at the first broken rule.
// Tracks what depends on the history: the colour array box (the user may have
// edited it since the last input edit) and the fraction texts the last check saw.
class Invariants {
 public:
  explicit Invariants(MemoryForm1& w) : w_(w) {
    for (int r = 0; r < 4; ++r) {
      subscriptions_[r] = w_.Box(kRows[r].input).OnChange([this] { input_changed_ = true; });
      fractions_[r] = w_.Text(kRows[r].fraction);
    }
    array_ = colour::ArrayText(fractions_[0], fractions_[1], fractions_[2], fractions_[3]);
  }

  // After each edit, with the box it went to.
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
      // An edge value may keep its pattern text: the edge rewrite runs only
      // when the fraction box changes, and writing the text a box already
      // holds (e.g. "0.00" for an opacity of .3, then of 0) changes nothing.
      if (fraction != pattern || fraction != fractions_[r]) {
        ASSERT_EQ(fraction, n == 0 ? u"0" : n == row.bound ? u"1" : pattern) << row.fraction << " for " << show(input);
      }
      fractions_[r] = fraction;
    }
    // Text7: rebuilt by every input handler, else what the user left there.
    if (input_changed_) {
      array_ = colour::ArrayText(fractions_[0], fractions_[1], fractions_[2], fractions_[3]);
    } else if (where == "Text7") {
      array_ = w_.Text("Text7");
    }
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

}  // namespace pigmo::window::testing
