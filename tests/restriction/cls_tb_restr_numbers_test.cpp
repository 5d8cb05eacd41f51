#include "test_probe.h"
#include "restriction/cls_tb_restr_numbers.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

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
  explicit SpyBox(std::u16string text) : TextBox(false, 0), inner_(std::move(text), false, 0) {
    forward_ = inner_.OnChange([this] { RaiseChange(); });
  }
  std::u16string Text() const override { return inner_.Text(); }
  void SetText(std::u16string_view text) override { ++text_writes, inner_.SetText(text); }
  std::int32_t Caret() const override { return inner_.Caret(); }
  void SetCaret(std::int32_t caret) override { ++caret_writes, inner_.SetCaret(caret); }

  int text_writes = 0;
  int caret_writes = 0;

 private:
  MemoryTextBox inner_;
  runtime::Subscription forward_;
};

template <typename Call>
std::optional<ErrorKind> KindOf(Call&& call) {
  try {
    call();
  } catch (const runtime::Error& e) {
    return e.kind();
  }
  return std::nullopt;
}

class RestrictionTest : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }
  static std::shared_ptr<MemoryTextBox> NewBox(std::u16string text) {
    return std::make_shared<MemoryTextBox>(std::move(text), false, 0);
  }
  clsTBRestrNumbers restrict{runtime::Locale::Named("en_US")};
};

TEST_F(RestrictionTest, InitCleansTheWholeTextWithTheCaretAtTheEndAndListens) {
  const struct {
    std::u16string before;
    std::int32_t caret;
    std::u16string after;
    std::int32_t caret_after;
  } rows[] = {{u"", 0, u"", 0},          {u"0,5000", 3, u"0.5000", 6}, {u"-0.0196", 0, u"0.0196", 6},
              {u"1a2", 1, u"12", 2},     {u".5", 0, u"0.5", 3},       {u"1.2.3", 0, u"12.3", 4}};
  for (const auto& row : rows) {
    auto box = NewBox(row.before);
    box->SetCaret(row.caret);
    restrict.Init(box, u"0123456789", u".");
    EXPECT_EQ(box->Text(), row.after);
    EXPECT_EQ(box->Caret(), row.caret_after);
    EXPECT_EQ(TestProbe::WorkingBox(restrict), box);
    EXPECT_EQ(TestProbe::ListenedBox(restrict), box);
    EXPECT_EQ(TestProbe::ListenerCount(*box), 1u);
  }
  EXPECT_EQ(restrict.InstrPrev(u"1.2.3", u".", 3), 2);
}

TEST_F(RestrictionTest, ProgramWritesAreCleanedAtCaretZeroAndUserEditsAtTheirCaret) {
  auto box = NewBox(u"");
  restrict.Init(box, u"0123456789", u".");
  box->SetText(u"-0,0196");  // caret 0: nothing is scanned, the sign stays
  EXPECT_EQ(box->Text(), u"-0.0196");
  EXPECT_EQ(box->Caret(), 0);
  box->SetText(u"0.5");
  box->UserMoveCaret(3), box->UserType(u"a");
  EXPECT_EQ(box->Text(), u"0.5");
  EXPECT_EQ(box->Caret(), 3);
  box->UserMoveCaret(1), box->UserType(u",");  // a typed comma becomes the delimiter and wins
  EXPECT_EQ(box->Text(), u"0.5");
  EXPECT_EQ(box->Caret(), 2);
}

TEST_F(RestrictionTest, RebindingReleasesThePreviousBox) {
  auto a = NewBox(u"1"), b = NewBox(u"2");
  restrict.Init(a, u"0123456789", u".");
  restrict.Init(b, u"0123456789", u".");
  EXPECT_EQ(TestProbe::ListenerCount(*a), 0u);
  a->SetText(u"1,5x");
  EXPECT_EQ(a->Text(), u"1,5x");
  b->SetText(u"1,5");
  EXPECT_EQ(b->Text(), u"1.5");
}

TEST_F(RestrictionTest, HandlerRunsOncePerChangeAfterTwoInitsOnOneBox) {
  auto box = std::make_shared<SpyBox>(u"1");
  restrict.Init(box, u"0123456789", u".");
  restrict.Init(box, u"0123456789", u".");
  EXPECT_EQ(TestProbe::ListenerCount(*box), 1u);
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
  box->text_writes = box->caret_writes = 0;
  restrict.Init(box, u"0123456789", u".");
  EXPECT_EQ(box->Text(), u"12");
  EXPECT_EQ(box->Caret(), 2);       // Init's caret, written after the nested clean
  EXPECT_EQ(box->text_writes, 2);   // Init's write-back and the nested clean's
  EXPECT_EQ(box->caret_writes, 3);  // Init's move to the end, nested, Init's own
  EXPECT_EQ(TestProbe::ListenerCount(*box), 1u);
}

TEST_F(RestrictionTest, OverflowInTheHandlerLeavesTheBoxUnchangedAndTheObjectReleased) {
  auto box = NewBox(u"");
  restrict.Init(box, u"0123456789", u".");
  box->SetText(std::u16string(32766, u'7'));
  box->UserMoveCaret(32766), box->UserType(u"8");  // the scan now reaches position 32,767
  ASSERT_EQ(UnhandledErrors().Count(), 1u);
  EXPECT_EQ(UnhandledErrors().Last()->kind(), ErrorKind::kOverflow);
  EXPECT_EQ(box->Text(), std::u16string(32766, u'7') + u"8");
  EXPECT_EQ(TestProbe::WorkingBox(restrict), box);
  EXPECT_EQ(TestProbe::ListenedBox(restrict), nullptr);
  box->SetText(u"1,5x");  // released: not cleaned
  EXPECT_EQ(box->Text(), u"1,5x");
  restrict.Init(box, u"0123456789", u".");  // binds again
  EXPECT_EQ(box->Text(), u"1.5");
  box->SetText(u"2,5");
  EXPECT_EQ(box->Text(), u"2.5");
  EXPECT_EQ(UnhandledErrors().Count(), 1u);
}

TEST_F(RestrictionTest, FailedInitKeepsThePreviousBindingAndTheNewSets) {
  EXPECT_EQ(KindOf([&] { restrict.Init(nullptr, u"0123456789", u"."); }), ErrorKind::kInvalidArgument);
  auto a = NewBox(u"1");
  restrict.Init(a, u"0123456789", u".");
  const std::u16string long_text(32767, u'5');
  auto b = NewBox(long_text);
  // An empty delimiter falls back to "^", so no delimiter survives.
  EXPECT_EQ(KindOf([&] { restrict.Init(b, u"0123456789", u""); }), ErrorKind::kOverflow);
  EXPECT_EQ(TestProbe::Delimiter(restrict), u"^");
  EXPECT_EQ(TestProbe::AllowedSet(restrict), u"0123456789");
  EXPECT_EQ(b->Text(), long_text);
  EXPECT_EQ(TestProbe::ListenerCount(*b), 0u);
  EXPECT_EQ(TestProbe::ListenedBox(restrict), a);
  a->SetText(u"1,2^5");
  EXPECT_EQ(a->Text(), u"125");
}

TEST_F(RestrictionTest, ObjectKeepsItsBoxAliveAndEndsItsSubscriptionWhenDestroyed) {
  auto box = NewBox(u"1");
  const std::weak_ptr<MemoryTextBox> weak = box;
  {
    clsTBRestrNumbers local(runtime::Locale::Named("C"));
    local.Init(box, u"0123456789", u".");
    box.reset();
    ASSERT_FALSE(weak.expired());
    EXPECT_EQ(TestProbe::ListenerCount(*weak.lock()), 1u);
  }
  EXPECT_TRUE(weak.expired());
}

}  // namespace
}  // namespace pigmo::restriction
