#include "runtime/event.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/error.h"

namespace pigmo::runtime {
namespace {

class EventTest : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }
  Event event;
  std::vector<std::string> calls;
};

TEST_F(EventTest, CallsEveryListenerInSubscriptionOrder) {
  auto a = event.Subscribe([&] { calls.push_back("a"); });
  auto b = event.Subscribe([&] { calls.push_back("b"); });
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));
}

TEST_F(EventTest, ResetAndDestructionEndTheSubscription) {
  auto a = event.Subscribe([&] { calls.push_back("a"); });
  {
    auto b = event.Subscribe([&] { calls.push_back("b"); });
  }
  a.Reset();
  event.Raise();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(event.ListenerCount(), 0u);
}

TEST_F(EventTest, ListenerMayEndItsOwnSubscriptionWithoutSkippingItsNeighbour) {
  Subscription a;
  a = event.Subscribe([&] {
    calls.push_back("a");
    a.Reset();  // destroys the std::function that is running: must stay safe
  });
  auto b = event.Subscribe([&] { calls.push_back("b"); });
  event.Raise();
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b", "b"}));
}

TEST_F(EventTest, ListenerRenewedDuringDispatchIsCalledFromTheNextEventOn) {
  Subscription a;
  std::function<void()> listener = [&] {
    calls.push_back("a");
    a = event.Subscribe(listener);  // renew: ends the old one, starts a new one
  };
  a = event.Subscribe(listener);
  auto b = event.Subscribe([&] { calls.push_back("b"); });
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b", "b", "a"}));
  EXPECT_EQ(event.ListenerCount(), 2u);
}

TEST_F(EventTest, ListenerUnsubscribedByAnEarlierOneIsNotCalled) {
  Subscription b;
  auto a = event.Subscribe([&] {
    calls.push_back("a");
    b.Reset();
  });
  b = event.Subscribe([&] { calls.push_back("b"); });
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a"}));
}

TEST_F(EventTest, NestedRaiseRunsInsideTheOuterListener) {
  int depth = 0;
  auto a = event.Subscribe([&] {
    calls.push_back(std::to_string(depth).insert(0, 1, 'a'));
    if (depth++ < 2) event.Raise();
  });
  Event::ResetDeepestNesting();
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a0", "a1", "a2"}));
  EXPECT_EQ(Event::DeepestNesting(), 3);
  EXPECT_EQ(Event::NestingDepth(), 0);
}

TEST_F(EventTest, ErrorLeavingAListenerIsContainedAndTheNextListenerRuns) {
  auto a = event.Subscribe([] { Raise(ErrorKind::kOverflow, "boom"); });
  auto b = event.Subscribe([&] { calls.push_back("b"); });
  EXPECT_NO_THROW(event.Raise());
  EXPECT_EQ(calls, (std::vector<std::string>{"b"}));
  ASSERT_EQ(UnhandledErrors().Count(), 1u);
  EXPECT_EQ(UnhandledErrors().Last()->kind(), ErrorKind::kOverflow);
}

TEST_F(EventTest, SubscriptionOutlivingItsEventIsHarmless) {
  auto event2 = std::make_unique<Event>();
  auto a = event2->Subscribe([] {});
  event2.reset();
  EXPECT_FALSE(a.Active());
  a.Reset();
}

}  // namespace
}  // namespace pigmo::runtime
