#include "restriction/cls_tb_restr_numbers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "runtime/memory/memory_form.h"

namespace pigmo::restriction {
namespace {

using runtime::ErrorKind;
using runtime::UnhandledErrors;
using runtime::memory::MemoryTextBox;

// A box that counts the program's writes, to tell how often a clean ran.
class SpyBox final : public runtime::TextBox {
 public:
  explicit SpyBox(std::u16string text) : inner_(std::move(text), false, 0) {
    forward_ = inner_.OnChange([this] { RaiseChange(); });
  }
  std::u16string Text() const override { return inner_.Text(); }
  void SetText(std::u16string_view text) override {
    ++text_writes;
    inner_.SetText(text);
  }
  std::int32_t Caret() const override { return inner_.Caret(); }
  void SetCaret(std::int32_t caret) override {
    ++caret_writes;
    inner_.SetCaret(caret);
  }
  bool ReadOnly() const override { return false; }
  std::int32_t MaxLength() const override { return 0; }
  MemoryTextBox& user() { return inner_; }

  int text_writes = 0;
  int caret_writes = 0;

 private:
  MemoryTextBox inner_;
  runtime::Subscription forward_;
};

class RestrictionTest : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }

  static std::shared_ptr<MemoryTextBox> NewBox(std::u16string text) {
    return std::make_shared<MemoryTextBox>(std::move(text), false, 0);
  }

  clsTBRestrNumbers restrict{runtime::Locale::Named("en_US")};
};

TEST_F(RestrictionTest, NewObjectIsUnbound) {
  EXPECT_EQ(restrict.WorkingBox(), nullptr);
  EXPECT_EQ(restrict.ListenedBox(), nullptr);
  EXPECT_TRUE(restrict.AllowedSet().empty());
  EXPECT_TRUE(restrict.Delimiter().empty());
}

struct InitCase {
  std::u16string before;
  std::int32_t caret_before;
  std::u16string after;
  std::int32_t caret_after;
};

class InitCleansWholeText : public RestrictionTest, public ::testing::WithParamInterface<InitCase> {};

TEST_P(InitCleansWholeText, WithTheCaretAtTheEnd) {
  const InitCase& c = GetParam();
  auto box = NewBox(c.before);
  box->SetCaret(c.caret_before);
  restrict.Init(box, u"0123456789", u".");
  EXPECT_EQ(box->Text(), c.after);
  EXPECT_EQ(box->Caret(), c.caret_after);
  EXPECT_EQ(restrict.WorkingBox(), box);
  EXPECT_EQ(restrict.ListenedBox(), box);
  EXPECT_EQ(box->ChangeListenerCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Binding, InitCleansWholeText,
    ::testing::Values(InitCase{u"", 0, u"", 0}, InitCase{u"0,5000", 0, u"0.5000", 6},
                      InitCase{u"0,5000", 3, u"0.5000", 6}, InitCase{u"-0.0196", 0, u"0.0196", 6},
                      InitCase{u"1a2", 1, u"12", 2}, InitCase{u".5", 0, u"0.5", 3},
                      InitCase{u"1.2.3", 0, u"12.3", 4}));

TEST_F(RestrictionTest, EmptyDelimiterFallsBackToCaretAndNoDelimiterSurvives) {
  auto box = NewBox(u"1,2^3");
  restrict.Init(box, u"0123456789", u"");
  EXPECT_EQ(box->Text(), u"123");
  EXPECT_EQ(restrict.Delimiter(), u"^");
  EXPECT_EQ(restrict.AllowedSet(), u"0123456789");
}

TEST_F(RestrictionTest, ProgramWritesAreCleanedWithTheCaretAtTheStart) {
  auto box = NewBox(u"");
  restrict.Init(box, u"0123456789", u".");
  box->SetText(u"0,5020");
  EXPECT_EQ(box->Text(), u"0.5020");
  EXPECT_EQ(box->Caret(), 0);
  // With the caret at 0 nothing is scanned, so a minus sign stays.
  box->SetText(u"-0.0196");
  EXPECT_EQ(box->Text(), u"-0.0196");
  EXPECT_EQ(box->Caret(), 0);
}

TEST_F(RestrictionTest, UserEditIsCleanedAtItsCaret) {
  auto box = NewBox(u"0.5");
  restrict.Init(box, u"0123456789", u".");
  box->UserMoveCaret(3);
  box->UserType(u"a");
  EXPECT_EQ(box->Text(), u"0.5");
  EXPECT_EQ(box->Caret(), 3);
  box->UserMoveCaret(1);
  box->UserType(u",");  // a typed comma becomes the delimiter and wins
  EXPECT_EQ(box->Text(), u"0.5");
  EXPECT_EQ(box->Caret(), 2);
}

TEST_F(RestrictionTest, RebindingReleasesThePreviousBox) {
  auto a = NewBox(u"1");
  auto b = NewBox(u"2");
  restrict.Init(a, u"0123456789", u".");
  restrict.Init(b, u"0123456789", u".");
  EXPECT_EQ(a->ChangeListenerCount(), 0u);
  EXPECT_EQ(b->ChangeListenerCount(), 1u);
  a->SetText(u"1,5x");
  EXPECT_EQ(a->Text(), u"1,5x");  // no longer cleaned
  b->SetText(u"1,5");
  EXPECT_EQ(b->Text(), u"1.5");
}

TEST_F(RestrictionTest, HandlerRunsOncePerChangeAfterTwoInitsOnOneBox) {
  auto box = std::make_shared<SpyBox>(u"1");
  restrict.Init(box, u"0123456789", u".");
  restrict.Init(box, u"0123456789", u".");
  EXPECT_EQ(box->ChangeListenerCount(), 1u);
  box->text_writes = box->caret_writes = 0;
  box->SetText(u"2,5");
  // Our write, then exactly one write-back of the text and one of the caret.
  EXPECT_EQ(box->text_writes, 2);
  EXPECT_EQ(box->caret_writes, 1);
  EXPECT_EQ(box->Text(), u"2.5");
}

TEST_F(RestrictionTest, InitOnTheBoundBoxCleansAgainNestedAndKeepsItsOwnCaret) {
  auto box = std::make_shared<SpyBox>(u"");
  restrict.Init(box, u"0123456789", u".");
  box->SetText(u"1a2");  // caret 0: the letter survives this clean
  ASSERT_EQ(box->Text(), u"1a2");
  box->text_writes = box->caret_writes = 0;
  restrict.Init(box, u"0123456789", u".");
  EXPECT_EQ(box->Text(), u"12");
  EXPECT_EQ(box->Caret(), 2);        // Init's caret, written after the nested clean
  EXPECT_EQ(box->text_writes, 2);    // Init's write-back and the nested clean's
  EXPECT_EQ(box->caret_writes, 3);   // Init's move to the end, nested, Init's own
  EXPECT_EQ(box->ChangeListenerCount(), 1u);
}

TEST_F(RestrictionTest, NullBoxIsAnInvalidArgument) {
  try {
    restrict.Init(nullptr, u"0123456789", u".");
    FAIL() << "Init accepted no box";
  } catch (const runtime::Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kInvalidArgument);
  }
}

TEST_F(RestrictionTest, OverflowInTheHandlerLeavesTheBoxUnchangedAndTheObjectReleased) {
  auto box = NewBox(u"");
  restrict.Init(box, u"0123456789", u".");
  box->SetText(std::u16string(32766, u'7'));
  box->UserMoveCaret(32766);
  box->UserType(u"8");  // the scan now reaches position 32,767
  EXPECT_EQ(UnhandledErrors().Count(), 1u);
  EXPECT_EQ(UnhandledErrors().Last()->kind(), ErrorKind::kOverflow);
  EXPECT_EQ(box->Text(), std::u16string(32766, u'7') + u"8");
  EXPECT_EQ(restrict.WorkingBox(), box);
  EXPECT_EQ(restrict.ListenedBox(), nullptr);

  box->SetText(u"1,5x");  // released: not cleaned
  EXPECT_EQ(box->Text(), u"1,5x");

  restrict.Init(box, u"0123456789", u".");  // binds again
  EXPECT_EQ(box->Text(), u"1.5");
  box->SetText(u"2,5");
  EXPECT_EQ(box->Text(), u"2.5");
  EXPECT_EQ(UnhandledErrors().Count(), 1u);
}

TEST_F(RestrictionTest, FailedInitKeepsThePreviousBindingAndTheNewSets) {
  auto a = NewBox(u"1");
  restrict.Init(a, u"0123456789", u".");
  const std::u16string long_text(32767, u'5');
  auto b = NewBox(long_text);
  try {
    restrict.Init(b, u"0123456789", u"");
    FAIL() << "Init cleaned a text whose scan reaches 32,767";
  } catch (const runtime::Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kOverflow);
  }
  EXPECT_EQ(b->Text(), long_text);
  EXPECT_EQ(b->ChangeListenerCount(), 0u);
  EXPECT_EQ(restrict.ListenedBox(), a);
  EXPECT_EQ(restrict.Delimiter(), u"^");
  a->SetText(u"1,5");  // now cleaned with the new sets: no delimiter survives
  EXPECT_EQ(a->Text(), u"15");
}

TEST_F(RestrictionTest, ObjectKeepsItsBoxAliveAndEndsItsSubscriptionWhenDestroyed) {
  std::weak_ptr<MemoryTextBox> weak;
  auto box = NewBox(u"1");
  weak = box;
  {
    clsTBRestrNumbers local(runtime::Locale::Named("C"));
    local.Init(box, u"0123456789", u".");
    box.reset();
    EXPECT_FALSE(weak.expired());
    EXPECT_EQ(weak.lock()->ChangeListenerCount(), 1u);
    auto keep = weak.lock();
    keep.reset();
  }
  EXPECT_TRUE(weak.expired());
}

TEST_F(RestrictionTest, InstrPrevReadsNoField) {
  EXPECT_EQ(restrict.InstrPrev(u"1.2.3", u".", 3), 2);
  EXPECT_EQ(restrict.InstrPrev(u"abAB", u"b", 4), 4);
}

}  // namespace
}  // namespace pigmo::restriction
