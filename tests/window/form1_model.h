// Form1 on the in-memory backend, a random simulated user, and what must
// hold between the boxes after every edit.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "colour/colour_rules.h"
#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "runtime/locale.h"
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
  // Select all, then type key by key, or paste in one edit.
  void Retype(std::string_view name, std::u16string_view keys) { Box(name).UserSelectAll(), Box(name).UserType(keys); }
  void PasteOver(std::string_view name, std::u16string_view clip) { Box(name).UserSelectAll(), Box(name).UserPaste(clip); }

  runtime::Locale locale;
  runtime::memory::MemoryForm form;
  Form1 handlers;
};

struct RowModel {
  const char* input;
  const char* fraction;
  double bound;
  std::u16string_view pattern;
};

inline constexpr RowModel kRows[] = {{"Text1", "Text4", 255, u"0.0000"}, {"Text2", "Text5", 255, u"0.0000"},
                                     {"Text3", "Text6", 255, u"0.0000"}, {"Text8", "Text9", 100, u"0.00"}};

// A random simulated user. With `hostile` it also edits the colour array
// box and types control characters, direction marks, lone surrogates, other
// scripts' digits and separators, and longer pastes.
class Editor {
 public:
  Editor(MemoryForm1& w, std::uint32_t seed, bool hostile) : w_(w), rng_(seed), hostile_(hostile) {}

  // One random edit; returns the box it went to. With `log`, says what it did.
  const char* Edit(std::string* log = nullptr) {
    static const char* const kBoxes[] = {"Text1", "Text2", "Text3", "Text8", "Text4", "Text5", "Text6", "Text9", "Text7"};
    const char* name = kBoxes[Pick(hostile_ ? 9 : 8)];
    auto& box = w_.Box(name);
    const auto len = static_cast<std::int32_t>(box.Text().size());
    const auto note = [&](const std::string& what) { log != nullptr ? void(*log += what) : void(); };
    const auto select = [&] {
      const std::int32_t start = Pick(len + 1), length = Pick(len + 1);
      note("select " + std::to_string(start) + "+" + std::to_string(length) + ", ");
      box.UserSelect(start, length);
    };
    note(std::string(name) + ": ");
    switch (Pick(8)) {
      case 0: select(); [[fallthrough]];
      case 1: case 2: {
        const char16_t c = RandomChar();
        note("type " + ::testing::PrintToString(std::u16string(1, c)));
        box.UserTypeChar(c);
        break;
      }
      case 3: {
        select();
        std::u16string clip;
        for (int n = Pick(hostile_ && Pick(16) == 0 ? 200 : 6); n > 0; --n) clip.push_back(RandomChar());
        note("paste " + ::testing::PrintToString(clip));
        box.UserPaste(clip);
        break;
      }
      case 4: {
        const std::int32_t caret = Pick(len + 1);
        note("caret to " + std::to_string(caret) + ", backspace"), box.UserMoveCaret(caret), box.UserBackspace();
        break;
      }
      case 5: select(), note("delete"), box.UserDelete(); break;
      case 6: note("select all, cut"), box.UserSelectAll(), box.UserCut(); break;
      default: note("undo"), box.UserUndo(); break;
    }
    return name;
  }

 private:
  std::int32_t Pick(std::int32_t n) { return std::uniform_int_distribution<std::int32_t>(0, n - 1)(rng_); }
  char16_t RandomChar() {
    static constexpr std::u16string_view kPlain = u"0123456789012345678901234567890123456789..,,--+ eEa\u066B\u00E4\uFF11^";
    static constexpr char16_t kHostileUnits[] =
        u"\u0000\u0001\t\n\u001B\u007F\u200E\u200F\u200B\u202E\u00AD\u00A0\u202F"
        u"\u0660\u0665\u06F5\u066B\u066C\u060C\uFF0C\uFF0E\uFF10\U0001D7CE\uFFFD";
    static constexpr std::u16string_view kHostile(kHostileUnits, std::size(kHostileUnits) - 1);  // holds a NUL
    const std::u16string_view from = hostile_ && Pick(4) == 0 ? kHostile : kPlain;
    return from[static_cast<std::size_t>(Pick(static_cast<std::int32_t>(from.size())))];
  }

  MemoryForm1& w_;
  std::mt19937 rng_;
  bool hostile_;
};

// What must hold after every edit. Tracks what depends on the history: the
// swatch (left as it was when the channels are no colour), the colour array
// box (the user may have edited it since the last input edit) and the
// fraction texts the last check saw.
class Invariants {
 public:
  explicit Invariants(MemoryForm1& w) : w_(w), swatch_(w.Swatch()) {
    for (int r = 0; r < 4; ++r) {
      subscriptions_[r] = w_.Box(kRows[r].input).OnChange([this] { input_changed_ = true; });
      fractions_before_[r] = w_.Text(kRows[r].fraction);
    }
  }

  // Call after each edit with the box it went to.
  ::testing::AssertionResult Check(std::string_view where) {
    const auto show = [](const std::u16string& s) { return ::testing::PrintToString(s); };
    std::u16string fractions[4];
    for (int r = 0; r < 4; ++r) {
      const RowModel& row = kRows[r];
      const std::u16string input = w_.Text(row.input);
      double n = 0;
      try {
        n = colour::ParseNumber(input, w_.locale);
      } catch (const runtime::Error&) {
        return ::testing::AssertionFailure() << row.input << " is not a number: " << show(input);
      }
      const auto limit = static_cast<std::size_t>(w_.Box(row.input).MaxLength());
      if (!(n <= row.bound) || input.size() > limit) {
        return ::testing::AssertionFailure() << row.input << " is over its bound or length: " << show(input);
      }
      fractions[r] = w_.Text(row.fraction);
      // The edge texts, else the fraction with "." as its decimal point.
      std::u16string pattern = colour::FractionText(input, row.bound, row.pattern, w_.locale);
      const std::u16string& sep = w_.locale.DecimalSeparator();
      if (const auto at = pattern.find(sep); at != std::u16string::npos) {
        pattern = pattern.substr(0, at) + u"." + pattern.substr(at + sep.size());
      }
      const std::u16string expected = n == 0 ? u"0" : n == row.bound ? u"1" : pattern;
      // An edge value may keep its pattern text: the edge rewrite runs only
      // when the fraction box changes, and writing the text a box already
      // holds (e.g. "0.00" for an opacity of .3, then of 0) changes nothing.
      const bool kept = expected != pattern && fractions[r] == pattern && fractions[r] == fractions_before_[r];
      if (fractions[r] != expected && !kept) {
        return ::testing::AssertionFailure() << row.fraction << " reads " << show(fractions[r]) << " for "
                                             << show(input) << ", expected " << show(expected);
      }
    }
    // Text7: rebuilt by every input handler; otherwise what the user left.
    if (input_changed_) {
      array_edited_ = false;
    } else if (where == "Text7") {
      array_edited_ = true;
      edited_array_ = w_.Text("Text7");
    }
    input_changed_ = false;
    const std::u16string array =
        array_edited_ ? edited_array_ : colour::ArrayText(fractions[0], fractions[1], fractions[2], fractions[3]);
    if (w_.Text("Text7") != array) {
      return ::testing::AssertionFailure() << "Text7 reads " << show(w_.Text("Text7")) << ", expected " << show(array);
    }
    if (where == "Text1" || where == "Text2" || where == "Text3") {
      try {
        swatch_ = colour::SwatchColour(w_.Text("Text1"), w_.Text("Text2"), w_.Text("Text3"), w_.locale);
      } catch (const runtime::Error&) {
      }
    }
    if (w_.Swatch() != swatch_) return ::testing::AssertionFailure() << "the swatch is " << w_.Swatch() << ", not " << swatch_;
    for (int r = 0; r < 4; ++r) fractions_before_[r] = fractions[r];
    if (runtime::UnhandledErrors().Count() == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "an error reached the event dispatch: " << runtime::UnhandledErrors().Last()->what();
  }

 private:
  MemoryForm1& w_;
  runtime::Colour swatch_;
  runtime::Subscription subscriptions_[4];
  std::u16string fractions_before_[4];
  bool input_changed_ = false;
  bool array_edited_ = false;
  std::u16string edited_array_;
};

}  // namespace pigmo::window::testing
