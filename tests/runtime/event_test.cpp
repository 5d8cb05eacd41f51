// The event's rules that no backend reaches; the dispatch rules themselves
// run in the contract suite on every backend.
#include "test_probe.h"
#include "runtime/event.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "runtime/dispatch.h"
#include "runtime/error.h"

namespace pigmo::runtime {
namespace {

TEST(EventTest, AnEndedListenerIsReleasedOnceNoDispatchHoldsIt) {
  Event event;
  auto token = std::make_shared<int>();
  int a_calls = 0, b_calls = 0;
  Subscription a = event.Subscribe([&, token] { ++a_calls; a.Reset(); });  // ends itself while running
  Subscription b = event.Subscribe([&] { ++b_calls; });
  event.Raise();
  event.Raise();
  EXPECT_EQ(a_calls * 10 + b_calls, 12);
  EXPECT_EQ(token.use_count(), 1);
  Subscription c = event.Subscribe([token] {});
  c.Reset();
  EXPECT_EQ(token.use_count(), 1);
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(TestProbe::ListenerCount(event), 1u);
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

TEST(DispatchErrorLogTest, CountsKeepsTheLastAndTellsTheObserverUntilCleared) {
  DispatchErrorLog log;
  const auto record = [&log](ErrorKind kind) {
    try { Raise(kind, "from a listener"); } catch (...) { log.RecordCurrent(); }
  };
  std::vector<ErrorKind> seen;
  log.SetObserver([&](const Error& error) { seen.push_back(error.kind()); });
  record(ErrorKind::kOverflow);
  record(ErrorKind::kTypeMismatch);
  EXPECT_EQ(log.Count(), 2u);
  EXPECT_EQ(log.Last().value().kind(), ErrorKind::kTypeMismatch);
  EXPECT_EQ(seen, (std::vector<ErrorKind>{ErrorKind::kOverflow, ErrorKind::kTypeMismatch}));
  log.Clear();
  EXPECT_FALSE(log.Count() || log.Last().has_value());
  log.SetObserver({});  // no observer: recording still works
  record(ErrorKind::kInvalidArgument);
  EXPECT_EQ(log.Count(), 1u);
  EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace pigmo::runtime
