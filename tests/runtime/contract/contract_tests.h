// The runtime contract every backend passes: its test file defines a Harness (harness.h) and instantiates
// RuntimeContract with it.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/contract/harness.h"
#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "test_probe.h"

namespace pigmo::runtime::contract {

// A small window: a plain box, boxes limited to three and one characters, a read-only box, a label and a button.
inline const FormSpec& ContractSpec() {
  const auto box = [](std::string_view name, int row, bool read_only, int max_length) {
    return ControlSpec{.name = name,
                       .bounds = {120, 120 + 360 * row, 1800, 285},
                       .read_only = read_only,
                       .max_length = max_length,
                       .tab_index = row,
                       .accessible_name = u"box"};
  };
  static const std::array<ControlSpec, 6> controls = {box("Plain", 0, false, 0),
                                                      box("Limited", 1, false, 3),
                                                      box("One", 2, false, 1),
                                                      box("ReadOnly", 3, true, 0),
                                                      ControlSpec{.name = "Swatch",
                                                                  .kind = ControlKind::kLabel,
                                                                  .bounds = {2040, 120, 615, 1000},
                                                                  .back_colour = 0x00FFFFFFu,
                                                                  .tab_index = 4,
                                                                  .uses_font = false,
                                                                  .accessible_name = u"Swatch",
                                                                  .colour_patch = true},
                                                      ControlSpec{.name = "Go",
                                                                  .kind = ControlKind::kButton,
                                                                  .bounds = {2040, 1200, 615, 255},
                                                                  .text = u"Go",
                                                                  .tab_index = 5,
                                                                  .accessible_name = u"Go"}};
  static const FormSpec description{.name = "ContractForm",
                                    .caption = u"Contract",
                                    .client_width = 2800,
                                    .client_height = 1600,
                                    .font = {"Verdana", "DejaVu Sans", 8.25, 700},
                                    .controls = controls};
  return description;
}

// A change event as its listeners saw the box: text and caret.
struct Entry {
  std::u16string text;
  std::int32_t caret;
  bool operator==(const Entry&) const = default;
  friend void PrintTo(const Entry& e, std::ostream* os) { *os << ::testing::PrintToString(e.text) << "@" << e.caret; }
};

struct ChangeLog {
  explicit ChangeLog(TextBox& box)
      : subscription(box.OnChange([this, &box] {
          entries.push_back({box.Text(), box.Caret()});
        })) {}
  std::vector<Entry> entries;
  Subscription subscription;
};

// One user action of an edit case.
struct Step {
  enum Op { kSelect, kType, kPaste, kBackspace, kDelete, kCut, kCopy, kUndo } op;
  std::u16string text = {};
  std::int32_t start = 0, length = 0;
};
inline Step Sel(std::int32_t start, std::int32_t length = 0) { return {Step::kSelect, u"", start, length}; }
inline Step Type(std::u16string keys) { return {Step::kType, std::move(keys)}; }
inline Step Paste(std::u16string clip) { return {Step::kPaste, std::move(clip)}; }

// The program writes `start`, then the user acts: the box raises exactly `changes` and keeps the text of the last one;
// where given, the last cut or copy put `clip` on the clipboard and the caret ends at `caret`.
struct EditCase {
  const char* box;
  std::u16string start;
  std::vector<Step> steps;
  std::vector<Entry> changes;
  std::u16string clip = {};
  std::int32_t caret = -1;
};

inline const std::vector<EditCase>& EditCases() {
  const Step back{Step::kBackspace}, del{Step::kDelete}, cut{Step::kCut}, undo{Step::kUndo};
  static const std::vector<EditCase> cases = {
      {"Limited", u"", {Type(u"12")}, {{u"1", 1}, {u"12", 2}}},
      {"Limited", u"12", {Sel(1), Type(u"x")}, {{u"1x2", 2}}},
      // The limit refuses a keystroke whole, whatever the character; over a selection it fits again. A program write
      // past it stands; the user may only shrink the text.
      {"Limited", u"", {Type(u"ab\u00FCz")}, {{u"a", 1}, {u"ab", 2}, {u"ab\u00FC", 3}}},
      {"Limited", u"123", {Sel(1, 1), Type(u"x")}, {{u"1x3", 2}}},
      {"One", u"", {Type(u"xy")}, {{u"x", 1}}},
      {"Limited", u"12345", {Sel(5), Type(u"6"), back}, {{u"1234", 4}}},
      // A paste is cut to the room left; without room nothing happens.
      {"Limited", u"1", {Sel(1), Paste(u"2345"), Paste(u"9")}, {{u"123", 3}}},
      {"Limited", u"123", {Sel(0, 3), Paste(u"abcdef")}, {{u"abc", 3}}},
      {"Plain", u"", {Paste(u"no limit here at all")}, {{u"no limit here at all", 20}}},
      {"Plain", u"abc", {Sel(2), back}, {{u"ac", 1}}},
      {"Plain", u"abc", {Sel(1), del}, {{u"ac", 1}}},
      {"Plain", u"abc", {Sel(0, 2), cut}, {{u"c", 0}}, u"ab"},
      {"Plain", u"abc", {Sel(1, 1), cut}, {{u"ac", 1}}, u"b"},
      {"Plain", u"abc", {Sel(0, 3), Type(u"x"), undo}, {{u"x", 1}, {u"abc", 0}}},
      // Edits that change nothing raise nothing, a character typed over itself included.
      {"Plain", u"abc", {Sel(0), back, Sel(3), del}, {}},
      {"Plain", u"abc", {Sel(1, 1), Type(u"b")}, {}, u"", 2},
      // A read-only box refuses every edit but selects and copies.
      {"ReadOnly", u"0.5020", {Type(u"7"), Paste(u"9"), Sel(0, 2), back, del, cut, undo}, {}},
      {"ReadOnly", u"0.5020", {Sel(2, 4), {Step::kCopy}}, {}, u"5020", 2},
  };
  return cases;
}

template <class H>
class RuntimeContract : public ::testing::Test {
 protected:
  void SetUp() override {
    UnhandledErrors().Clear();
    form_ = &h_.Build(ContractSpec());
    h_.Show();
  }
  void TearDown() override {
    UnhandledErrors().SetObserver({});
    UnhandledErrors().Clear();
  }
  std::shared_ptr<TextBox> Box(std::string_view name) { return form_->TextBoxNamed(name); }

  H h_;
  Form* form_ = nullptr;
};

TYPED_TEST_SUITE_P(RuntimeContract);

// Inside the call (the log is read right after it), only on a real change, with the caret at 0 and no selection;
// read-only and the typed limit bind the user only; the text is kept code unit for code unit.
TYPED_TEST_P(RuntimeContract, ProgramWritesRaiseOneChangeInsideTheCallOnlyOnARealChange) {
  const std::vector<std::tuple<const char*, std::u16string, std::u16string>> cases = {
      {"Plain", u"xy", u"hello"},
      {"Plain", u"", u""},
      {"ReadOnly", u"1", u"0.5020"},
      {"ReadOnly", u"1", u"1"},
      {"Limited", u"", u"12345"},
      {"One", u"", u"long text"},
      {"Plain", u"Gr\u00FCn", u"Gr\u00FCn"},
      {"Plain", u"Gr\u00FCn", u"Gru\u0308n"},
      {"Plain", u"", u"\uFEFFbom"},
      {"Plain", u"abc", u"ABC"},
      {"Plain", u"ABC", u"\uFF21BC"},  // no comparison blind to case or width
      {"Plain", u"", u"\U0001F600 \u00FC \u20AC"},
      {"Plain", u"", {u'a', char16_t(0xD800), u'b'}},
      {"Plain", u"", {char16_t(0xDC00), u'x'}}};
  for (const auto& [name, before, text] : cases) {
    SCOPED_TRACE(::testing::Message() << name << " " << ::testing::PrintToString(text));
    auto box = this->Box(name);
    box->SetText(before);
    this->h_.Select(name, 1, 1);
    ChangeLog log(*box);
    box->SetText(text);
    EXPECT_EQ(log.entries, (text == before ? std::vector<Entry>{} : std::vector<Entry>{{text, 0}}));
    EXPECT_EQ(box->Text(), text);
    EXPECT_EQ(box->Caret(), 0);
    EXPECT_EQ(this->h_.SelectionLength(name), 0);
  }
}

// The program may keep a box after its window is gone.
TYPED_TEST_P(RuntimeContract, ABoxOutlivesItsWindowWithItsTextAndEvents) {
  auto box = this->Box("Limited");
  box->SetText(u"1234");
  this->h_.Build(ContractSpec());
  EXPECT_EQ(box->Text(), u"1234");
  ChangeLog log(*box);
  box->SetText(u"still");
  EXPECT_EQ(log.entries, (std::vector<Entry>{{u"still", 0}}));
}

TYPED_TEST_P(RuntimeContract, UserEditsRaiseOneChangeEachWithTheCaretWhereTheEditLeftIt) {
  for (const EditCase& c : EditCases()) {
    SCOPED_TRACE(::testing::Message() << "edit case " << (&c - EditCases().data()) << " on " << c.box);
    auto box = this->Box(c.box);
    box->SetText(c.start);
    ChangeLog log(*box);
    std::u16string clip;
    for (const Step& s : c.steps) {
      if (s.op == Step::kSelect) this->h_.Select(c.box, s.start, s.length);
      if (s.op == Step::kType) this->h_.Type(c.box, s.text);
      if (s.op == Step::kPaste) this->h_.Paste(c.box, s.text);
      if (s.op == Step::kBackspace) this->h_.Backspace(c.box);
      if (s.op == Step::kDelete) this->h_.Delete(c.box);
      if (s.op == Step::kCut) clip = this->h_.Cut(c.box);
      if (s.op == Step::kCopy) clip = this->h_.Copy(c.box);
      if (s.op == Step::kUndo) this->h_.Undo(c.box);
    }
    EXPECT_EQ(log.entries, c.changes);
    EXPECT_EQ(box->Text(), c.changes.empty() ? c.start : c.changes.back().text);
    EXPECT_TRUE(c.clip.empty() || clip == c.clip) << ::testing::PrintToString(clip);
    EXPECT_TRUE(c.caret < 0 || box->Caret() == c.caret) << box->Caret();
  }
}

TYPED_TEST_P(RuntimeContract, SetCaretClampsToTheEndEndsTheSelectionAndRejectsNegatives) {
  auto box = this->Box("Plain");
  box->SetText(u"abc");
  for (const auto& [written, expected] : {std::pair{0, 0}, {1, 1}, {3, 3}, {4, 3}, {99, 3}, {INT32_MAX, 3}}) {
    this->h_.Select("Plain", 0, 2);
    box->SetCaret(written);
    EXPECT_EQ(box->Caret(), expected) << "written " << written;
    EXPECT_EQ(this->h_.SelectionLength("Plain"), 0);
  }
  this->h_.Select("Plain", 1, 2);
  EXPECT_EQ(box->Caret(), 1);  // the caret is the selection's start
  EXPECT_THAT([&] { box->SetCaret(-1); },
              ::testing::Throws<Error>(::testing::Property(&Error::kind, ErrorKind::kInvalidArgument)));
  EXPECT_EQ(box->Caret(), 1);
}

TYPED_TEST_P(RuntimeContract, AListenerWritingItsOwnBoxRunsAgainNestedAndTheOuterRunGoesOn) {
  auto box = this->Box("Limited");
  std::vector<std::string> trace;
  // Counts down to "1"; writing "1" over "1" raises nothing and ends the chain.
  auto chain = box->OnChange([&] {
    const std::u16string text = box->Text();
    trace.push_back("enter " + std::string(text.begin(), text.end()));
    if (text == u"3") box->SetText(u"2");
    if (text == u"2" || text == u"1") box->SetText(u"1");
    trace.push_back("leave " + std::string(text.begin(), text.end()));
  });
  const std::vector<std::string> expected = {"enter 3", "enter 2", "enter 1", "leave 1", "leave 2", "leave 3"};
  box->SetText(u"3");
  EXPECT_EQ(trace, expected);
  box->SetText(u"");  // the same from a keystroke, inside the toolkit's own handling of it
  trace.clear();
  this->h_.Type("Limited", u"3");
  EXPECT_EQ(trace, expected);
  EXPECT_EQ(box->Text(), u"1");
  EXPECT_EQ(box->Caret(), 0);
  this->h_.Type("Limited", u"5");  // and the box takes input afterwards
  EXPECT_EQ(box->Text(), u"51");
}

// Any exception that leaves a listener stops at the event dispatch, on every path into it (user edit, program write,
// click): ours as it is, any other logged as foreign; the next listener still runs and nothing unwinds into the
// toolkit.
TYPED_TEST_P(RuntimeContract, AnyExceptionLeavingAListenerIsContainedAndReported) {
  auto box = this->Box("Limited");
  std::vector<ErrorKind> observed;
  UnhandledErrors().SetObserver([&](const Error& error) { observed.push_back(error.kind()); });
  int throws = 0, after = 0;
  auto failing = box->OnChange([&] {
    if (throws++ == 0) Raise(ErrorKind::kOverflow, "too big");
    if (throws == 2) throw std::bad_alloc();
    throw 42;  // not even a std::exception
  });
  auto next = box->OnChange([&] { ++after; });
  auto click = this->form_->ButtonNamed("Go").OnClick([] { throw std::logic_error("click"); });
  this->h_.Type("Limited", u"7");
  EXPECT_EQ(box->Text(), u"7");
  EXPECT_EQ(after, 1);
  ASSERT_EQ(UnhandledErrors().Count(), 1u);
  EXPECT_EQ(UnhandledErrors().Last()->kind(), ErrorKind::kOverflow);
  EXPECT_NO_THROW(box->SetText(u"12"));
  box->SetCaret(2);
  this->h_.Type("Limited", u"8");
  this->h_.Click("Go");
  EXPECT_EQ(box->Text(), u"128");
  EXPECT_EQ(after, 3);
  const auto foreign = ErrorKind::kForeign;
  EXPECT_EQ(observed, (std::vector{ErrorKind::kOverflow, foreign, foreign, foreign}));
  EXPECT_EQ(UnhandledErrors().Count(), 4u);
  EXPECT_EQ(UnhandledErrors().Last()->kind(), foreign);  // the last one is kept
  EXPECT_TRUE(this->h_.WindowOpen());
  UnhandledErrors().Clear();
  EXPECT_FALSE(UnhandledErrors().Count() || UnhandledErrors().Last());
}

TYPED_TEST_P(RuntimeContract, LabelsButtonsAndMessageBoxesAsAskedAndUnknownNamesRefused) {
  Label& swatch = this->form_->LabelNamed("Swatch");
  EXPECT_EQ(swatch.BackColour(), 0x00FFFFFFu);
  for (const Colour colour : {0x000000FFu, 0x0000FF00u, 0x00FF0000u, 0x00123456u, 0u, 0xAB808080u}) {
    swatch.SetBackColour(colour);
    EXPECT_EQ(swatch.BackColour(), colour & 0x00FFFFFFu) << std::hex << colour;  // red in the low byte
  }
  Button& go = this->form_->ButtonNamed("Go");
  EXPECT_EQ(go.Caption(), u"Go");
  int clicks = 0, returned = 0;
  auto count = go.OnClick([&] { ++clicks; });
  auto show = go.OnClick([&] { this->form_->ShowInfo(u"first line\r\nsecond\r\n\r\nlast", u"Heading"), ++returned; });
  this->h_.Click("Go");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(returned, 1);
  const auto messages = this->h_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  std::u16string text = messages[0].text;
  std::erase(text, u'\r');
  EXPECT_EQ(text, u"first line\nsecond\n\nlast");
  EXPECT_EQ(messages[0].title, u"Heading");
  EXPECT_TRUE(messages[0].information_icon && messages[0].only_ok_button);
  EXPECT_TRUE(this->h_.WindowOpen());
  EXPECT_THROW(this->form_->TextBoxNamed("Nope"), Error);
  EXPECT_THROW(this->form_->TextBoxNamed("Swatch"), Error);  // a label, not a box
  EXPECT_THROW(this->form_->LabelNamed("Plain"), Error);
  EXPECT_THROW(this->form_->ButtonNamed("Swatch"), Error);
}

REGISTER_TYPED_TEST_SUITE_P(RuntimeContract, ProgramWritesRaiseOneChangeInsideTheCallOnlyOnARealChange,
                            ABoxOutlivesItsWindowWithItsTextAndEvents,
                            UserEditsRaiseOneChangeEachWithTheCaretWhereTheEditLeftIt,
                            SetCaretClampsToTheEndEndsTheSelectionAndRejectsNegatives,
                            AListenerWritingItsOwnBoxRunsAgainNestedAndTheOuterRunGoesOn,
                            AnyExceptionLeavingAListenerIsContainedAndReported,
                            LabelsButtonsAndMessageBoxesAsAskedAndUnknownNamesRefused);

}  // namespace pigmo::runtime::contract
