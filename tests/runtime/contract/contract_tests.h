// The runtime contract, as a typed test suite that every backend passes.
//
// A backend's test file defines a Harness (see harness.h) and writes:
//   #include "runtime/contract/contract_tests.h"
//   using Backends = ::testing::Types<MyHarness>;
//   INSTANTIATE_TYPED_TEST_SUITE_P(My, RuntimeContract, Backends);
// Include this header in one file of a test program only.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/contract/harness.h"
#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "window/form1_description.h"

namespace pigmo::runtime::contract {

// A small window with one box of each kind the contract knows.
inline const FormSpec& ContractSpec() {
  static const std::array<ControlSpec, 6> controls = {{
      {.name = "Plain", .kind = ControlKind::kTextBox, .bounds = {120, 120, 1800, 285},
       .text = u"", .fore_colour = {}, .back_colour = {}, .tab_index = 0,
       .accessible_name = u"Plain"},
      {.name = "Limited", .kind = ControlKind::kTextBox, .bounds = {120, 480, 615, 285},
       .text = u"", .fore_colour = {}, .back_colour = {}, .max_length = 3, .tab_index = 1,
       .accessible_name = u"Limited"},
      {.name = "ReadOnly", .kind = ControlKind::kTextBox, .bounds = {120, 840, 1800, 285},
       .text = u"1", .fore_colour = {}, .back_colour = {}, .read_only = true, .tab_index = 2,
       .accessible_name = u"Read-only"},
      {.name = "Other", .kind = ControlKind::kTextBox, .bounds = {120, 1200, 1800, 285},
       .text = u"other", .fore_colour = {}, .back_colour = {}, .tab_index = 3,
       .accessible_name = u"Other"},
      {.name = "Swatch", .kind = ControlKind::kLabel, .bounds = {2040, 120, 615, 1000},
       .text = u"", .fore_colour = {}, .back_colour = 0x00FFFFFFu, .tab_index = 4,
       .uses_font = false, .accessible_name = u"Swatch"},
      {.name = "Go", .kind = ControlKind::kButton, .bounds = {2040, 1200, 615, 255},
       .text = u"Go", .fore_colour = {}, .back_colour = {}, .tab_index = 5,
       .accessible_name = u"Go"},
  }};
  static const FormSpec description{
      .name = "ContractForm",
      .caption = u"Contract",
      .client_width = 2800,
      .client_height = 1600,
      .font = {"Verdana", "DejaVu Sans", 8.25, 700, false, false, false},
      .controls = controls,
  };
  return description;
}

// Records every change event of one box: the text and caret its listeners see.
class ChangeLog {
 public:
  struct Entry {
    std::u16string text;
    std::int32_t caret;
    bool operator==(const Entry&) const = default;
    friend void PrintTo(const Entry& e, std::ostream* os) {
      *os << ::testing::PrintToString(e.text) << "@" << e.caret;
    }
  };

  explicit ChangeLog(TextBox& box)
      : subscription_(box.OnChange([this, &box] { entries_.push_back({box.Text(), box.Caret()}); })) {}

  const std::vector<Entry>& entries() const { return entries_; }
  std::size_t count() const { return entries_.size(); }
  void Clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
  Subscription subscription_;
};

template <class H>
class RuntimeContract : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }
  void TearDown() override { UnhandledErrors().Clear(); }

  Form& BuildContractForm() {
    Form& form = harness_.Build(ContractSpec());
    harness_.Show();
    return form;
  }
  std::shared_ptr<TextBox> Box(std::string_view name) { return form_->TextBoxNamed(name); }

  H harness_;
  Form* form_ = nullptr;
};

TYPED_TEST_SUITE_P(RuntimeContract);

using Entry = ChangeLog::Entry;
using ::testing::ElementsAre;

// --- Program writes ---------------------------------------------------------

TYPED_TEST_P(RuntimeContract, ProgramWriteRaisesOneChangeInsideTheCallWithCaretZero) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Plain");
  box->SetText(u"xy");
  box->SetCaret(2);

  bool inside_write = false;
  bool seen_inside = false;
  auto probe = box->OnChange([&] { seen_inside = inside_write; });
  ChangeLog log(*box);
  inside_write = true;
  box->SetText(u"hello");
  inside_write = false;

  EXPECT_TRUE(seen_inside);
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"hello", 0}));
  EXPECT_EQ(box->Text(), u"hello");
  EXPECT_EQ(box->Caret(), 0);
  EXPECT_EQ(this->harness_.SelectionLength("Plain"), 0);
}

TYPED_TEST_P(RuntimeContract, WriteOfTheSameTextRaisesNothing) {
  this->form_ = &this->BuildContractForm();
  struct Case {
    const char* box;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"ReadOnly", u"1"}, {"Plain", u""}, {"Other", u"other"}, {"Limited", u""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    auto box = this->Box(c.box);
    ChangeLog log(*box);
    box->SetText(c.text);
    EXPECT_EQ(log.count(), 0u);
    EXPECT_EQ(box->Text(), c.text);
  }
  auto box = this->Box("Plain");
  box->SetText(u"Gr\u00FCn");
  ChangeLog log(*box);
  box->SetText(u"Gr\u00FCn");
  EXPECT_EQ(log.count(), 0u);
  box->SetText(u"Gru\u0308n");  // looks the same, differs in code units
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"Gru\u0308n", 0}));
}

TYPED_TEST_P(RuntimeContract, TextIsKeptCodeUnitForCodeUnit) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Plain");
  const std::vector<std::u16string> texts = {
      u"\uFEFFbom",                                       // a leading byte-order mark stays
      std::u16string{u'a', char16_t(0xD800), u'b'},       // lone high surrogate
      std::u16string{char16_t(0xDC00), u'x'},             // lone low surrogate
      u"\U0001F600 \u00FC \u20AC",                        // a pair and BMP letters
      u"[0.5020,1,0,0.2500]",
  };
  for (const auto& text : texts) {
    ChangeLog log(*box);
    box->SetText(text);
    EXPECT_EQ(box->Text(), text);
    EXPECT_EQ(log.count(), 1u);
  }
}

TYPED_TEST_P(RuntimeContract, ProgramWriteIgnoresTheTypedLengthLimit) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Limited");
  ChangeLog log(*box);
  box->SetText(u"12345");
  EXPECT_EQ(box->Text(), u"12345");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"12345", 0}));

  this->harness_.Type("Limited", u"6");  // over the limit: refused
  EXPECT_EQ(box->Text(), u"12345");
  box->SetCaret(5);
  this->harness_.Backspace("Limited");  // shrinking is always allowed
  EXPECT_EQ(box->Text(), u"1234");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"12345", 0}, Entry{u"1234", 4}));
}

// --- Caret --------------------------------------------------------------------

TYPED_TEST_P(RuntimeContract, SetCaretClampsToTheEndAndRejectsNegativeValues) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Plain");
  box->SetText(u"abc");
  const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
      {0, 0}, {1, 1}, {3, 3}, {4, 3}, {99, 3}, {INT32_MAX, 3}};
  for (auto [written, expected] : cases) {
    box->SetCaret(written);
    EXPECT_EQ(box->Caret(), expected) << "written " << written;
  }
  box->SetCaret(1);
  try {
    box->SetCaret(-1);
    ADD_FAILURE() << "a negative caret was accepted";
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kInvalidArgument);
  }
  EXPECT_EQ(box->Caret(), 1);
}

TYPED_TEST_P(RuntimeContract, CaretIsTheSelectionStartAndSetCaretEndsTheSelection) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Plain");
  box->SetText(u"abcdef");
  this->harness_.Select("Plain", 2, 3);
  EXPECT_EQ(box->Caret(), 2);
  EXPECT_EQ(this->harness_.SelectionLength("Plain"), 3);
  box->SetCaret(4);
  EXPECT_EQ(box->Caret(), 4);
  EXPECT_EQ(this->harness_.SelectionLength("Plain"), 0);
  this->harness_.Select("Plain", 1, 2);
  box->SetText(u"xyz");  // a write also ends the selection
  EXPECT_EQ(this->harness_.SelectionLength("Plain"), 0);
  EXPECT_EQ(box->Caret(), 0);
}

// --- User edits ---------------------------------------------------------------

TYPED_TEST_P(RuntimeContract, TypingRaisesOneChangePerCharacterWithTheCaretAfterIt) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Limited");
  ChangeLog log(*box);
  this->harness_.Type("Limited", u"12");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"1", 1}, Entry{u"12", 2}));
  box->SetCaret(1);
  log.Clear();
  this->harness_.Type("Limited", u"x");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"1x2", 2}));
}

TYPED_TEST_P(RuntimeContract, AFourthTypedCharacterIsRefusedWithoutAnEvent) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Limited");
  ChangeLog log(*box);
  this->harness_.Type("Limited", u"1234");
  EXPECT_EQ(box->Text(), u"123");
  EXPECT_EQ(log.count(), 3u);
  this->harness_.Type("Limited", u"5");
  EXPECT_EQ(box->Text(), u"123");
  EXPECT_EQ(log.count(), 3u);
  // Over a selection the character fits again.
  this->harness_.Select("Limited", 1, 1);
  this->harness_.Type("Limited", u"x");
  EXPECT_EQ(box->Text(), u"1x3");
  EXPECT_EQ(log.entries().back(), (Entry{u"1x3", 2}));
  // Any character counts, letters included.
  box->SetText(u"");
  this->harness_.Type("Limited", u"ab\u00FCz");
  EXPECT_EQ(box->Text(), u"ab\u00FC");
}

TYPED_TEST_P(RuntimeContract, PasteIsCutToTheLengthLimit) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Limited");
  box->SetText(u"1");
  box->SetCaret(1);
  ChangeLog log(*box);
  this->harness_.Paste("Limited", u"2345");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"123", 3}));

  this->harness_.Paste("Limited", u"9");  // no room left: nothing happens
  EXPECT_EQ(log.count(), 1u);

  this->harness_.Select("Limited", 0, 3);
  this->harness_.Paste("Limited", u"abcdef");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"123", 3}, Entry{u"abc", 3}));

  auto plain = this->Box("Plain");
  ChangeLog plain_log(*plain);
  this->harness_.Paste("Plain", u"no limit here at all");
  EXPECT_THAT(plain_log.entries(), ElementsAre(Entry{u"no limit here at all", 20}));
}

TYPED_TEST_P(RuntimeContract, BackspaceDeleteCutAndUndoRaiseOneChangeEach) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Plain");
  ChangeLog log(*box);

  box->SetText(u"abc");
  box->SetCaret(2);
  log.Clear();
  this->harness_.Backspace("Plain");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"ac", 1}));

  box->SetText(u"abc");
  box->SetCaret(1);
  log.Clear();
  this->harness_.Delete("Plain");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"ac", 1}));

  box->SetText(u"abc");
  this->harness_.Select("Plain", 0, 2);
  log.Clear();
  EXPECT_EQ(this->harness_.Cut("Plain"), u"ab");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"c", 0}));

  box->SetText(u"abc");
  this->harness_.Select("Plain", 0, 3);
  this->harness_.Type("Plain", u"x");
  log.Clear();
  this->harness_.Undo("Plain");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"abc", 0}));

  // Edits that change nothing raise nothing.
  box->SetText(u"abc");
  log.Clear();
  box->SetCaret(0);
  this->harness_.Backspace("Plain");
  box->SetCaret(3);
  this->harness_.Delete("Plain");
  this->harness_.Select("Plain", 1, 1);
  this->harness_.Type("Plain", u"b");  // types the selected character over itself
  EXPECT_EQ(box->Text(), u"abc");
  EXPECT_EQ(log.count(), 0u);
}

TYPED_TEST_P(RuntimeContract, ReadOnlyBoxRefusesEditsButSelectsAndCopies) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("ReadOnly");
  ASSERT_TRUE(box->ReadOnly());
  ChangeLog log(*box);

  box->SetText(u"0.5020");  // the program can always write
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"0.5020", 0}));
  log.Clear();

  this->harness_.Type("ReadOnly", u"7");
  this->harness_.Paste("ReadOnly", u"9");
  this->harness_.Select("ReadOnly", 0, 2);
  this->harness_.Backspace("ReadOnly");
  this->harness_.Delete("ReadOnly");
  this->harness_.Cut("ReadOnly");
  this->harness_.Undo("ReadOnly");
  EXPECT_EQ(box->Text(), u"0.5020");
  EXPECT_EQ(log.count(), 0u);

  this->harness_.Select("ReadOnly", 2, 4);
  EXPECT_EQ(this->harness_.SelectionLength("ReadOnly"), 4);
  EXPECT_EQ(box->Caret(), 2);
  EXPECT_EQ(this->harness_.Copy("ReadOnly"), u"5020");
  box->SetCaret(99);
  EXPECT_EQ(box->Caret(), 6);
}

// --- Dispatch -------------------------------------------------------------------

TYPED_TEST_P(RuntimeContract, ListenerWritingItsOwnBoxRunsAgainNestedAndTheOuterRunGoesOn) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Limited");
  std::vector<std::string> trace;
  // Counts down to "1"; writing "1" over "1" raises nothing and ends the chain.
  auto chain = box->OnChange([&] {
    const std::u16string text = box->Text();
    trace.push_back("enter " + std::string(text.begin(), text.end()));
    if (text == u"3") box->SetText(u"2");
    if (text == u"2") box->SetText(u"1");
    if (text == u"1") box->SetText(u"1");
    trace.push_back("leave " + std::string(text.begin(), text.end()));
  });
  const std::vector<std::string> expected = {"enter 3", "enter 2", "enter 1", "leave 1",
                                             "leave 2", "leave 3"};
  box->SetText(u"3");
  EXPECT_EQ(trace, expected);
  EXPECT_EQ(box->Text(), u"1");
  EXPECT_EQ(box->Caret(), 0);

  // The same from the user's keystroke, inside the toolkit's own handling.
  box->SetText(u"");
  trace.clear();
  this->harness_.Type("Limited", u"3");
  EXPECT_EQ(trace, expected);
  EXPECT_EQ(box->Text(), u"1");
  EXPECT_EQ(box->Caret(), 0);
  this->harness_.Type("Limited", u"5");  // the box still takes input afterwards
  EXPECT_EQ(box->Text(), u"51");
}

TYPED_TEST_P(RuntimeContract, ListenersMayUnsubscribeAndRenewDuringDispatch) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Plain");
  std::vector<std::string> calls;
  Subscription a, b, c, d, e;
  std::function<void()> renewing_c = [&] {
    calls.push_back("c");
    c = box->OnChange(renewing_c);  // renewed: first called for the next event
  };
  a = box->OnChange([&] {
    calls.push_back("a");
    b.Reset();
  });
  b = box->OnChange([&] { calls.push_back("b"); });
  c = box->OnChange(renewing_c);
  d = box->OnChange([&] {
    calls.push_back("d");
    if (!e.Active()) e = box->OnChange([&] { calls.push_back("e"); });
  });

  this->harness_.Type("Plain", u"x");
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "c", "d"}));
  calls.clear();
  this->harness_.Type("Plain", u"y");
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "d", "c", "e"}));
  calls.clear();
  a.Reset();
  c.Reset();
  d.Reset();
  e.Reset();
  box->SetText(u"z");
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(box->ChangeListenerCount(), 0u);
}

TYPED_TEST_P(RuntimeContract, AnErrorLeavingAListenerIsContained) {
  this->form_ = &this->BuildContractForm();
  auto box = this->Box("Limited");
  auto other = this->Box("Other");
  int after = 0;
  auto failing = box->OnChange([] { Raise(ErrorKind::kOverflow, "too big"); });
  auto next = box->OnChange([&] { ++after; });

  this->harness_.Type("Limited", u"7");
  EXPECT_EQ(box->Text(), u"7");
  EXPECT_EQ(after, 1);
  EXPECT_EQ(UnhandledErrors().Count(), 1u);
  ASSERT_TRUE(UnhandledErrors().Last().has_value());
  EXPECT_EQ(UnhandledErrors().Last()->kind(), ErrorKind::kOverflow);

  EXPECT_NO_THROW(box->SetText(u"12"));  // a program write is no different
  EXPECT_EQ(UnhandledErrors().Count(), 2u);
  EXPECT_EQ(after, 2);

  EXPECT_TRUE(this->harness_.WindowOpen());
  EXPECT_EQ(other->Text(), u"other");
  box->SetCaret(2);
  this->harness_.Type("Limited", u"8");
  EXPECT_EQ(box->Text(), u"128");
  EXPECT_EQ(after, 3);
}

// --- Label, button, message box -----------------------------------------------

TYPED_TEST_P(RuntimeContract, LabelColourRoundTripsWithRedInTheLowByte) {
  this->form_ = &this->BuildContractForm();
  Label& swatch = this->form_->LabelNamed("Swatch");
  EXPECT_EQ(swatch.BackColour(), 0x00FFFFFFu);
  const std::vector<std::pair<Colour, Colour>> cases = {
      {0x000000FFu, 0x000000FFu}, {0x0000FF00u, 0x0000FF00u}, {0x00FF0000u, 0x00FF0000u},
      {0x00123456u, 0x00123456u}, {0x00000000u, 0x00000000u}, {0x00FFFFFFu, 0x00FFFFFFu},
      {0xAB808080u, 0x00808080u},  // the unused top byte is dropped
  };
  for (auto [written, expected] : cases) {
    swatch.SetBackColour(written);
    EXPECT_EQ(swatch.BackColour(), expected) << std::hex << written;
  }
}

TYPED_TEST_P(RuntimeContract, ButtonClickRaisesClickOnce) {
  this->form_ = &this->BuildContractForm();
  Button& go = this->form_->ButtonNamed("Go");
  EXPECT_EQ(go.Caption(), u"Go");
  int first = 0, second = 0;
  auto s1 = go.OnClick([&] { ++first; });
  auto s2 = go.OnClick([&] { ++second; });
  this->harness_.Click("Go");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
  this->harness_.Click("Go");
  EXPECT_EQ(first, 2);
  EXPECT_TRUE(this->harness_.Messages().empty());
}

TYPED_TEST_P(RuntimeContract, MessageBoxShowsTextLinesTitleIconAndOneOkButton) {
  this->form_ = &this->BuildContractForm();
  bool returned = false;
  auto sub = this->form_->ButtonNamed("Go").OnClick([&] {
    this->form_->ShowInfo(u"first line\r\nsecond\r\n\r\nlast", u"Heading");
    returned = true;
  });
  this->harness_.Click("Go");
  EXPECT_TRUE(returned);
  const auto messages = this->harness_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_THAT(messages[0].lines, ElementsAre(u"first line", u"second", u"", u"last"));
  EXPECT_EQ(messages[0].title, u"Heading");
  EXPECT_TRUE(messages[0].information_icon);
  EXPECT_TRUE(messages[0].only_ok_button);
  EXPECT_TRUE(this->harness_.WindowOpen());
}

TYPED_TEST_P(RuntimeContract, UnknownControlNamesAreInvalidArguments) {
  this->form_ = &this->BuildContractForm();
  EXPECT_THROW(this->form_->TextBoxNamed("Nope"), Error);
  EXPECT_THROW(this->form_->TextBoxNamed("Swatch"), Error);  // a label, not a box
  EXPECT_THROW(this->form_->LabelNamed("Plain"), Error);
  EXPECT_THROW(this->form_->ButtonNamed("Swatch"), Error);
}

// --- Form1 as described ------------------------------------------------------------

TYPED_TEST_P(RuntimeContract, Form1StartsWithItsStartTextsAndRaisesNothing) {
  Form& form = this->harness_.Build(window::Form1Description());
  const std::vector<std::pair<const char*, std::u16string>> starts = {
      {"Text1", u"255"}, {"Text2", u"255"}, {"Text3", u"255"}, {"Text8", u"100"},
      {"Text4", u"1"},   {"Text5", u"1"},   {"Text6", u"1"},   {"Text9", u"1"},
      {"Text7", u"[1,1,1,1]"}};
  std::vector<std::unique_ptr<ChangeLog>> logs;
  for (const auto& [name, text] : starts) {
    EXPECT_EQ(form.TextBoxNamed(name)->Text(), text) << name;
    logs.push_back(std::make_unique<ChangeLog>(*form.TextBoxNamed(name)));
  }
  this->harness_.Show();
  for (std::size_t i = 0; i < starts.size(); ++i) {
    EXPECT_EQ(logs[i]->count(), 0u) << starts[i].first;
    EXPECT_EQ(form.TextBoxNamed(starts[i].first)->Text(), starts[i].second);
  }
  EXPECT_EQ(form.LabelNamed("Label4").BackColour(), 0x00FFFFFFu);
  EXPECT_EQ(form.LabelNamed("Label2").Caption(), u"Gr\u00FCn");
  EXPECT_EQ(form.ButtonNamed("Command1").Caption(), u"Info");
  EXPECT_EQ(UnhandledErrors().Count(), 0u);
  EXPECT_TRUE(this->harness_.WindowOpen());
}

TYPED_TEST_P(RuntimeContract, Form1FocusStartsInText1WithItsTextSelected) {
  Form& form = this->harness_.Build(window::Form1Description());
  this->harness_.Show();
  EXPECT_EQ(this->harness_.Focused(), "Text1");
  EXPECT_EQ(this->harness_.SelectionLength("Text1"), 3);
  EXPECT_EQ(form.TextBoxNamed("Text1")->Caret(), 0);
}

TYPED_TEST_P(RuntimeContract, Form1TabOrderRunsForwardAndBackAndSelectsTheTexts) {
  Form& form = this->harness_.Build(window::Form1Description());
  this->harness_.Show();
  const std::vector<std::string> forward = {"Text2", "Text3", "Text8", "Text4", "Text5",
                                            "Text6", "Text9", "Text7", "Command1", "Text1"};
  for (const std::string& expected : forward) {
    this->harness_.PressTab(false);
    ASSERT_EQ(this->harness_.Focused(), expected);
    if (expected != "Command1") {
      EXPECT_EQ(this->harness_.SelectionLength(expected),
                static_cast<std::int32_t>(form.TextBoxNamed(expected)->Text().size()))
          << expected << " takes the focus with its text selected";
    }
  }
  const std::vector<std::string> backward = {"Command1", "Text7", "Text9", "Text6", "Text5",
                                             "Text4",    "Text8", "Text3", "Text2", "Text1"};
  for (const std::string& expected : backward) {
    this->harness_.PressTab(true);
    ASSERT_EQ(this->harness_.Focused(), expected);
  }
}

TYPED_TEST_P(RuntimeContract, Form1TypingAtStartReplacesTheFullText) {
  Form& form = this->harness_.Build(window::Form1Description());
  this->harness_.Show();
  auto text1 = form.TextBoxNamed("Text1");
  ChangeLog log(*text1);
  this->harness_.Type("Text1", u"128");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"1", 1}, Entry{u"12", 2}, Entry{u"128", 3}));
  this->harness_.Type("Text1", u"4");  // a fourth character is refused
  EXPECT_EQ(text1->Text(), u"128");
  EXPECT_EQ(log.count(), 3u);

  auto text4 = form.TextBoxNamed("Text4");
  ChangeLog fraction_log(*text4);
  this->harness_.Type("Text4", u"9");  // read-only
  EXPECT_EQ(text4->Text(), u"1");
  EXPECT_EQ(fraction_log.count(), 0u);
}

REGISTER_TYPED_TEST_SUITE_P(RuntimeContract,
                            ProgramWriteRaisesOneChangeInsideTheCallWithCaretZero,
                            WriteOfTheSameTextRaisesNothing, TextIsKeptCodeUnitForCodeUnit,
                            ProgramWriteIgnoresTheTypedLengthLimit,
                            SetCaretClampsToTheEndAndRejectsNegativeValues,
                            CaretIsTheSelectionStartAndSetCaretEndsTheSelection,
                            TypingRaisesOneChangePerCharacterWithTheCaretAfterIt,
                            AFourthTypedCharacterIsRefusedWithoutAnEvent,
                            PasteIsCutToTheLengthLimit,
                            BackspaceDeleteCutAndUndoRaiseOneChangeEach,
                            ReadOnlyBoxRefusesEditsButSelectsAndCopies,
                            ListenerWritingItsOwnBoxRunsAgainNestedAndTheOuterRunGoesOn,
                            ListenersMayUnsubscribeAndRenewDuringDispatch,
                            AnErrorLeavingAListenerIsContained,
                            LabelColourRoundTripsWithRedInTheLowByte, ButtonClickRaisesClickOnce,
                            MessageBoxShowsTextLinesTitleIconAndOneOkButton,
                            UnknownControlNamesAreInvalidArguments,
                            Form1StartsWithItsStartTextsAndRaisesNothing,
                            Form1FocusStartsInText1WithItsTextSelected,
                            Form1TabOrderRunsForwardAndBackAndSelectsTheTexts,
                            Form1TypingAtStartReplacesTheFullText);

}  // namespace pigmo::runtime::contract
