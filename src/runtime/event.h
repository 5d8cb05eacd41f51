// A synchronous event with any number of listeners.
//
// Raise() calls the listeners in the order they subscribed, inside the call.
// A listener may subscribe, unsubscribe or renew any subscription, its own
// included, while the event is being raised, and may raise the event again
// (nesting). The rules for one Raise():
//   - it calls the listeners that were subscribed when it began and are
//     still subscribed when their turn comes;
//   - a listener that subscribes (or renews its subscription) during the
//     dispatch is first called for the next event, not again for this one;
//   - any exception that leaves a listener is contained here: it is recorded
//     in UnhandledErrors() (one not of our Error type as a foreign one) and
//     the remaining listeners still run. Nothing unwinds out of Raise() into
//     the toolkit that called it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace pigmo {
// The tests' view of internals that the program itself never reads.
struct TestProbe;
}  // namespace pigmo

namespace pigmo::runtime {

class Event;

// Ends its subscription when reset or destroyed. Move-only.
class Subscription {
 public:
  Subscription() = default;
  Subscription(Subscription&& other) noexcept;
  Subscription& operator=(Subscription&& other) noexcept;
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription();

  void Reset() noexcept;
  bool Active() const noexcept;

 private:
  friend class Event;
  struct Entry;
  struct State;
  Subscription(std::weak_ptr<State> state, std::shared_ptr<Entry> entry);

  std::weak_ptr<State> state_;
  std::shared_ptr<Entry> entry_;
};

class Event {
 public:
  Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  ~Event();

  [[nodiscard]] Subscription Subscribe(std::function<void()> listener);
  void Raise() noexcept;

 private:
  friend struct pigmo::TestProbe;
  std::size_t ListenerCount() const noexcept;

  std::shared_ptr<Subscription::State> state_;
};

}  // namespace pigmo::runtime
