#include "restriction/cls_tb_restr_numbers.h"
#include "test_probe.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "runtime/memory/memory_form.h"

namespace pigmo::restriction {
namespace {

using runtime::ErrorKind;
using runtime::UnhandledErrors;
using runtime::memory::MemoryTextBox;

auto Fails(ErrorKind kind) {
  return ::testing::Throws<runtime::Error>(::testing::Property(&runtime::Error::kind, kind));
}

class RestrictionTest : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }
  static std::shared_ptr<MemoryTextBox> NewBox(std::u16string text) {
    return std::make_shared<MemoryTextBox>(std::move(text), false, 0);
  }
  clsTBRestrNumbers restrict {runtime::Locale::Named("en_US")};
};

TEST_F(RestrictionTest, InitCleansTheWholeTextWithTheCaretAtTheEndAndListens) {
  const std::tuple<std::u16string, std::int32_t, std::u16string, std::int32_t> rows[] = {
      {u"0,5000", 3, u"0.5000", 6}, {u"-0.0196", 0, u"0.0196", 6}, {u".5", 0, u"0.5", 3}, {u"1.2.3", 0, u"12.3", 4}};
  for (const auto& [before, caret, after, caret_after] : rows) {
    auto box = NewBox(before);
    box->SetCaret(caret);
    restrict.Init(box, u"0123456789", u".");
    EXPECT_EQ(box->Text(), after);
    EXPECT_EQ(box->Caret(), caret_after);
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
  box->UserMoveCaret(3);
  box->UserType(u"a");
  EXPECT_EQ(box->Text(), u"0.5");
  EXPECT_EQ(box->Caret(), 3);
  box->UserMoveCaret(1);
  box->UserType(u",");  // a typed comma becomes the delimiter and wins
  EXPECT_EQ(box->Text(), u"0.5");
  EXPECT_EQ(box->Caret(), 2);
}

// "^" turns into delimiters, and a second clean at caret 0 would keep only the first: that shows which cleans ran.
TEST_F(RestrictionTest, BindingFollowsTheLastInitAndEachChangeIsCleanedOnce) {
  auto a = NewBox(u"1"), b = NewBox(u"");
  restrict.Init(a, u"0123456789", u".");
  restrict.Init(b, u"0123456789^", u"x");  // so that the box can hold "^"
  EXPECT_EQ(TestProbe::ListenerCount(*a), 0u);
  a->SetText(u"1,5x");
  EXPECT_EQ(a->Text(), u"1,5x");
  b->UserType(u"1x2^3^4");
  // Init on the bound box: its write-back (12.3.4) runs the handler nested; Init's own caret (6) comes last.
  restrict.Init(b, u"0123456789", u".");
  EXPECT_EQ(b->Text(), u"12.34");
  EXPECT_EQ(b->Caret(), 5);
  EXPECT_EQ(TestProbe::ListenerCount(*b), 1u);
  b->SetText(u"1^2^3");  // a second clean of this change would leave 1.23
  EXPECT_EQ(b->Text(), u"1.2.3");
}

TEST_F(RestrictionTest, OverflowInTheHandlerLeavesTheBoxUnchangedAndTheObjectReleased) {
  auto box = NewBox(u"");
  restrict.Init(box, u"0123456789", u".");
  box->SetText(std::u16string(32766, u'7'));
  box->UserMoveCaret(32766);
  box->UserType(u"8");  // the scan now reaches position 32,767
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
  EXPECT_THAT([&] { restrict.Init(nullptr, u"0123456789", u"."); }, Fails(ErrorKind::kInvalidArgument));
  auto a = NewBox(u"1");
  restrict.Init(a, u"0123456789", u".");
  const std::u16string long_text(32767, u'5');
  auto b = NewBox(long_text);
  // An empty delimiter falls back to "^", so no delimiter survives.
  EXPECT_THAT([&] { restrict.Init(b, u"0123456789", u""); }, Fails(ErrorKind::kOverflow));
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
