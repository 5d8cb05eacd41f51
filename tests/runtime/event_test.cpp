// The event's own rules that no backend can reach; the dispatch rules
// themselves run in the contract suite on every backend.
#include "runtime/event.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/error.h"

namespace pigmo::runtime {
namespace {

TEST(EventTest, AnEndedListenerIsReleasedOnceNoDispatchHoldsIt) {
  Event event;
  auto token = std::make_shared<int>();
  std::vector<std::string> calls;
  Subscription a;
  a = event.Subscribe([&, token] {
    calls.push_back("a");
    a.Reset();  // destroys the running listener's owner: must stay safe
  });
  auto b = event.Subscribe([&] { calls.push_back("b"); });
  event.Raise();
  event.Raise();
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b", "b"}));
  EXPECT_EQ(token.use_count(), 1);
  auto c = event.Subscribe([token] {});
  c.Reset();
  EXPECT_EQ(token.use_count(), 1);
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(event.ListenerCount(), 1u);
}

TEST(EventTest, AnEventDestroyedByItsListenerEndsItsDispatchAndSubscriptions) {
  auto event = std::make_unique<Event>();
  int later = 0;
  auto a = event->Subscribe([&] { event.reset(); });
  auto b = event->Subscribe([&] { ++later; });
  event->Raise();
  EXPECT_EQ(later, 0);
  EXPECT_FALSE(a.Active());
  EXPECT_FALSE(b.Active());
  a.Reset();  // harmless without its event
}

TEST(DispatchErrorLogTest, CountsKeepsTheLastAndTellsTheObserverUntilCleared) {
  DispatchErrorLog log;
  std::vector<ErrorKind> seen;
  log.SetObserver([&](const Error& error) { seen.push_back(error.kind()); });
  log.Record(Error(ErrorKind::kOverflow, "first"));
  log.Record(Error(ErrorKind::kTypeMismatch, "second"));
  EXPECT_EQ(log.Count(), 2u);
  ASSERT_TRUE(log.Last().has_value());
  EXPECT_EQ(log.Last()->kind(), ErrorKind::kTypeMismatch);
  EXPECT_EQ(seen, (std::vector<ErrorKind>{ErrorKind::kOverflow, ErrorKind::kTypeMismatch}));
  log.Clear();
  EXPECT_EQ(log.Count(), 0u);
  EXPECT_FALSE(log.Last().has_value());
  log.SetObserver({});  // no observer: recording still works
  log.Record(Error(ErrorKind::kInvalidArgument, "third"));
  EXPECT_EQ(log.Count(), 1u);
  EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace pigmo::runtime
