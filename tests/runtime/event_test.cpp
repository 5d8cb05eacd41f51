// The event's rules that no backend reaches, and the dispatch error log's own;
// the dispatch rules themselves run in the contract suite on every backend.
#include "runtime/event.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "runtime/dispatch.h"
#include "test_probe.h"

namespace pigmo::runtime {
namespace {

TEST(EventTest, AnEndedListenerIsReleasedOnceNoDispatchHoldsIt) {
  Event event;
  auto token = std::make_shared<int>();
  int calls = 0;
  Subscription a = event.Subscribe([&a, token] { a.Reset(); });  // ends itself while running
  Subscription b = event.Subscribe([&calls, token] { ++calls; });
  event.Raise();
  event.Raise();
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(token.use_count(), 2);  // b's copy only
  b.Reset();
  EXPECT_EQ(token.use_count(), 1);
  EXPECT_FALSE(a.Active() || b.Active());
  EXPECT_EQ(TestProbe::ListenerCount(event), 0u);
}

TEST(EventTest, AnEventDestroyedByItsListenerEndsItsDispatchAndSubscriptions) {
  auto event = std::make_unique<Event>();
  int later = 0;
  auto a = event->Subscribe([&] { event.reset(); });
  auto b = event->Subscribe([&] { ++later; });
  event->Raise();
  EXPECT_EQ(later, 0);
  EXPECT_FALSE(a.Active() || b.Active());
  a.Reset();  // harmless without its event
}

TEST(DispatchErrorLogTest, CountsKeepsTheLastTellsTheObserverAndClears) {
  DispatchErrorLog& log = UnhandledErrors();
  log.Clear();
  std::vector<ErrorKind> seen;
  log.SetObserver([&](const Error& error) { seen.push_back(error.kind()); });
  Contained([] { Raise(ErrorKind::kOverflow, "from a listener"); });
  Contained([] { Raise(ErrorKind::kTypeMismatch, "from a listener"); });
  EXPECT_EQ(log.Count(), 2u);
  EXPECT_EQ(log.Last().value().kind(), ErrorKind::kTypeMismatch);
  EXPECT_EQ(seen, (std::vector<ErrorKind>{ErrorKind::kOverflow, ErrorKind::kTypeMismatch}));
  log.Clear();
  EXPECT_FALSE(log.Count() || log.Last().has_value());
  log.SetObserver({});  // it refers to this test's locals
}

}  // namespace
}  // namespace pigmo::runtime
