// The event's dispatch rules; the contract suite checks that every backend raises through them and checks the dispatch
// error log.
#include "runtime/event.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "test_probe.h"

namespace pigmo::runtime {
namespace {

// In subscription order; a listener subscribed or renewed (c ends itself while running) during a dispatch is first
// called by the next one, an ended one no more, and it is released once no dispatch holds it.
TEST(EventTest, ListenersMayEndRenewAndSubscribeDuringDispatchAndBeMany) {
  Event event;
  std::string calls;
  auto token = std::make_shared<int>();
  Subscription a, b, c, d, e;
  std::function<void()> renewing_c = [&] {
    calls += "c";
    c = event.Subscribe(renewing_c);
  };
  a = event.Subscribe([&] {
    calls += "a";
    b.Reset();
  });
  b = event.Subscribe([&calls, token] { calls += "b"; });
  c = event.Subscribe(renewing_c);
  d = event.Subscribe([&] {
    calls += "d";
    if (!e.Active()) e = event.Subscribe([&] { calls += "e"; });
  });
  event.Raise();
  event.Raise();
  EXPECT_EQ(calls,
            "acd"
            "adce");
  EXPECT_EQ(token.use_count(), 1);
  std::vector<Subscription> many;
  std::vector<int> order, expected;
  for (int i = 0; i < 100; ++i) {
    many.push_back(event.Subscribe([&order, i] { order.push_back(i); }));
    expected.push_back(i);
  }
  for (Subscription* s : {&a, &c, &d, &e}) s->Reset();
  event.Raise();
  EXPECT_EQ(order, expected);
  many.clear();
  EXPECT_EQ(TestProbe::ListenerCount(event), 0u);
}

}  // namespace
}  // namespace pigmo::runtime
