// The model of Form1 that random edit sequences are checked against: a
// random simulated user, and what must hold between the boxes after every
// edit. Shared by the model test (a few thousand sequences in the normal
// run) and the soak run (tests/soak, millions of sequences).
#pragma once

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

namespace pigmo::window::model {

struct RowModel {
  const char* input;
  const char* fraction;
  double bound;
  std::u16string_view pattern;
};

inline constexpr RowModel kRows[] = {{"Text1", "Text4", 255, u"0.0000"},
                                     {"Text2", "Text5", 255, u"0.0000"},
                                     {"Text3", "Text6", 255, u"0.0000"},
                                     {"Text8", "Text9", 100, u"0.00"}};

inline bool IsInputBox(std::string_view name) {
  for (const RowModel& row : kRows) {
    if (name == row.input) return true;
  }
  return false;
}

inline bool IsColourInput(std::string_view name) {
  return name == "Text1" || name == "Text2" || name == "Text3";
}

// A text for failure messages: ASCII as is, everything else as \uXXXX.
inline std::string Show(std::u16string_view s) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (const char16_t c : s) {
    if (c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"') {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 0xF]);
    }
  }
  return out + "\"";
}

// The fraction of an input as the fraction box shows it: FractionText with
// "." as its decimal point.
inline std::u16string PatternFraction(const RowModel& row, const std::u16string& input,
                                      const runtime::Locale& locale) {
  std::u16string text = colour::FractionText(input, row.bound, row.pattern, locale);
  const std::u16string& sep = locale.DecimalSeparator();
  const auto at = text.find(sep);
  if (at == std::u16string::npos) return text;
  // Rebuilt rather than replace()d: GCC 12 warns falsely (-Wrestrict) on
  // the latter at -O3.
  return text.substr(0, at) + u"." + text.substr(at + sep.size());
}

// What a fraction box must hold for its input, worked out from the rules
// alone: the edge texts, or the fraction with "." as its decimal point.
inline std::u16string ExpectedFraction(const RowModel& row, const std::u16string& input,
                                       const runtime::Locale& locale) {
  const double n = colour::ParseNumber(input, locale);
  if (n == 0) return u"0";
  if (n == row.bound) return u"1";
  return PatternFraction(row, input, locale);
}

// The one way a fraction box keeps the pattern text at an edge value. The
// edge rewrite runs only when the fraction box changes, and writing the
// text a box already holds raises no change. So when the box already shows
// the pattern text of the new value, e.g. "0.00" for an opacity of .3, and
// the input then becomes 0 (whose pattern text is "0.00" too), nothing
// changes and "0.00" stays instead of "0".
inline bool KeptPatternTextAtEdge(const RowModel& row, const std::u16string& input, const std::u16string& fraction,
                                  const std::u16string& fraction_before, const runtime::Locale& locale) {
  const double n = colour::ParseNumber(input, locale);
  return (n == 0 || n == row.bound) && fraction == fraction_before &&
         fraction == PatternFraction(row, input, locale);
}

struct EditorOptions {
  // Also edit the colour array box Text7, which has no handler.
  bool array_box = false;
  // Also type control characters, direction marks, lone surrogates, other
  // scripts' digits and separators, and longer pastes.
  bool hostile_text = false;
};

// A random simulated user.
class Editor {
 public:
  Editor(runtime::memory::MemoryForm& form, std::uint32_t seed, EditorOptions options = {})
      : form_(form), rng_(seed), options_(options) {}

  // One random user edit; returns the box it went to.
  const char* Edit() {
    static const char* const kBoxes[] = {"Text1", "Text2", "Text3", "Text8", "Text4",
                                         "Text5", "Text6", "Text9", "Text7"};
    const char* name = kBoxes[Pick(options_.array_box ? 9 : 8)];
    auto& box = form_.Box(name);
    const auto len = static_cast<std::int32_t>(box.Text().size());
    if (describe_) last_ = std::string(name) + ": ";
    switch (Pick(8)) {
      case 0: Select(box, len); [[fallthrough]];
      case 1:
      case 2: {
        const char16_t c = RandomChar();
        Note("type " + Show(std::u16string_view(&c, 1)));
        box.UserTypeChar(c);
        break;
      }
      case 3: {
        Select(box, len);
        const std::u16string clip = RandomText();
        Note("paste " + Show(clip));
        box.UserPaste(clip);
        break;
      }
      case 4: {
        const std::int32_t caret = Pick(len + 1);
        Note("caret to " + std::to_string(caret) + ", backspace");
        box.UserMoveCaret(caret);
        box.UserBackspace();
        break;
      }
      case 5: Select(box, len); Note("delete"); box.UserDelete(); break;
      case 6: Note("select all, cut"); box.UserSelectAll(); box.UserCut(); break;
      default: Note("undo"); box.UserUndo(); break;
    }
    return name;
  }

  // What the last edit did, when descriptions are on (they cost time).
  void Describe(bool on) { describe_ = on; }
  const std::string& LastEdit() const { return last_; }

 private:
  void Select(runtime::memory::MemoryTextBox& box, std::int32_t len) {
    const std::int32_t start = Pick(len + 1);
    const std::int32_t length = Pick(len + 1);
    Note("select " + std::to_string(start) + "+" + std::to_string(length) + ", ");
    box.UserSelect(start, length);
  }
  void Note(const std::string& what) {
    if (describe_) last_ += what;
  }
  std::int32_t Pick(std::int32_t n) {
    return static_cast<std::int32_t>(std::uniform_int_distribution<std::int32_t>(0, n - 1)(rng_));
  }
  char16_t RandomChar() {
    static constexpr std::u16string_view kAlphabet =
        u"0123456789012345678901234567890123456789..,,--+ eEa\u066B\u00E4\uFF11^";
    // Controls, NUL, tab, direction and zero-width marks, soft hyphen,
    // no-break spaces, Arabic and Persian digits and separators, full-width
    // punctuation, both halves of a surrogate pair (typed alone).
    static constexpr char16_t kHostileUnits[] =
        u"\u0000\u0001\t\n\u001B\u007F\u200E\u200F\u200B\u202E\u00AD\u00A0\u202F"
        u"\u0660\u0665\u06F5\u066B\u066C\u060C\uFF0C\uFF0E\uFF10\U0001D7CE\uFFFD";
    // Sized from the array: the text holds a NUL.
    static constexpr std::u16string_view kHostile(kHostileUnits, std::size(kHostileUnits) - 1);
    if (options_.hostile_text && Pick(4) == 0) {
      return kHostile[static_cast<std::size_t>(Pick(static_cast<std::int32_t>(kHostile.size())))];
    }
    return kAlphabet[static_cast<std::size_t>(Pick(static_cast<std::int32_t>(kAlphabet.size())))];
  }
  std::u16string RandomText() {
    std::u16string s;
    const std::int32_t longest = options_.hostile_text && Pick(16) == 0 ? 200 : 6;
    for (int n = Pick(longest); n > 0; --n) s.push_back(RandomChar());
    return s;
  }

  runtime::memory::MemoryForm& form_;
  std::mt19937 rng_;
  EditorOptions options_;
  bool describe_ = false;
  std::string last_;
};

// What must hold after every edit. Tracks the two things that depend on
// the history: the swatch (kept when a channel cannot be a colour) and the
// colour array box (the user may have edited it since the last input edit).
class Invariants {
 public:
  Invariants(runtime::memory::MemoryForm& form, const runtime::Locale& locale)
      : form_(form), locale_(locale), swatch_(Swatch()) {
    for (const RowModel& row : kRows) {
      subscriptions_[&row - kRows] = form_.Box(row.input).OnChange([this] { input_changed_ = true; });
      fractions_before_[&row - kRows] = Text(row.fraction);
    }
  }
  Invariants(const Invariants&) = delete;
  Invariants& operator=(const Invariants&) = delete;

  // Call after each edit with the box the edit went to. Returns what broke,
  // or the empty text when everything holds.
  std::string Check(std::string_view where) {
    std::u16string fractions[4];
    for (int r = 0; r < 4; ++r) {
      const RowModel& row = kRows[r];
      const std::u16string input = Text(row.input);
      double n = 0;
      try {
        n = colour::ParseNumber(input, locale_);
      } catch (const runtime::Error& e) {
        return std::string(row.input) + " is not a number: " + Show(input) + ": " + e.what();
      }
      if (!(n <= row.bound)) return std::string(row.input) + " exceeds its bound: " + Show(input);
      const auto limit = form_.Box(row.input).MaxLength();
      if (limit > 0 && input.size() > static_cast<std::size_t>(limit)) {
        return std::string(row.input) + " is longer than its length limit: " + Show(input);
      }
      fractions[r] = Text(row.fraction);
      const std::u16string expected = ExpectedFraction(row, input, locale_);
      if (fractions[r] != expected &&
          !KeptPatternTextAtEdge(row, input, fractions[r], fractions_before_[r], locale_)) {
        return std::string(row.fraction) + " reads " + Show(fractions[r]) + " for the input " + Show(input) +
               ", expected " + Show(expected);
      }
    }

    // Text7: rebuilt by every input handler; otherwise what the user left.
    if (input_changed_) {
      array_edited_ = false;
    } else if (where == "Text7") {
      array_edited_ = true;
      edited_array_ = Text("Text7");
    }
    input_changed_ = false;
    if (array_edited_) {
      if (Text("Text7") != edited_array_) return "Text7 changed without an input edit: " + Show(Text("Text7"));
    } else if (const std::u16string array = colour::ArrayText(fractions[0], fractions[1], fractions[2], fractions[3]);
               Text("Text7") != array) {
      return "Text7 reads " + Show(Text("Text7")) + ", expected " + Show(array);
    }

    if (IsColourInput(where)) {
      try {
        swatch_ = colour::SwatchColour(Text("Text1"), Text("Text2"), Text("Text3"), locale_);
      } catch (const runtime::Error&) {
        // a negative channel: the swatch keeps its colour
      }
    }
    if (Swatch() != swatch_) {
      return "the swatch is " + std::to_string(Swatch()) + ", expected " + std::to_string(swatch_);
    }
    for (int r = 0; r < 4; ++r) fractions_before_[r] = fractions[r];
    if (runtime::UnhandledErrors().Count() != 0) {
      const auto& last = runtime::UnhandledErrors().Last();
      return std::string("an error reached the event dispatch: ") + (last ? last->what() : "?");
    }
    return {};
  }

 private:
  std::u16string Text(std::string_view name) { return form_.Box(name).Text(); }
  runtime::Colour Swatch() { return form_.LabelNamed("Label4").BackColour(); }

  runtime::memory::MemoryForm& form_;
  const runtime::Locale& locale_;
  runtime::Colour swatch_;
  runtime::Subscription subscriptions_[4];
  std::u16string fractions_before_[4];  // as the last check saw them
  bool input_changed_ = false;
  bool array_edited_ = false;
  std::u16string edited_array_;
};

}  // namespace pigmo::window::model
