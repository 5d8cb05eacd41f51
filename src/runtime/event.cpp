#include "runtime/event.h"

#include <algorithm>

#include "runtime/dispatch.h"

namespace pigmo::runtime {

struct Subscription::Entry {
  std::function<void()> listener;
  bool subscribed = true;
};

struct Subscription::State {
  std::vector<std::shared_ptr<Entry>> entries;
};

Subscription::Subscription(std::weak_ptr<State> state, std::shared_ptr<Entry> entry)
    : state_(std::move(state)), entry_(std::move(entry)) {}

Subscription::Subscription(Subscription&& other) noexcept
    : state_(std::move(other.state_)), entry_(std::move(other.entry_)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    Reset();
    state_ = std::move(other.state_);
    entry_ = std::move(other.entry_);
  }
  return *this;
}

Subscription::~Subscription() { Reset(); }

void Subscription::Reset() noexcept {
  if (!entry_) return;
  entry_->subscribed = false;
  if (auto state = state_.lock()) {
    auto& entries = state->entries;
    entries.erase(std::remove(entries.begin(), entries.end(), entry_), entries.end());
  }
  // A dispatch under way may still hold the entry (and so the listener)
  // in its snapshot; it sees subscribed == false and skips it.
  entry_.reset();
  state_.reset();
}

bool Subscription::Active() const noexcept { return entry_ && entry_->subscribed; }

Event::Event() : state_(std::make_shared<Subscription::State>()) {}

Event::~Event() {
  for (auto& entry : state_->entries) entry->subscribed = false;
}

Subscription Event::Subscribe(std::function<void()> listener) {
  auto entry = std::make_shared<Subscription::Entry>();
  entry->listener = std::move(listener);
  state_->entries.push_back(entry);
  return Subscription(state_, std::move(entry));
}

void Event::Raise() noexcept {
  // The snapshot keeps every entry alive for this dispatch, even when its
  // subscription (or the event itself) goes away inside a listener.
  std::vector<std::shared_ptr<Subscription::Entry>> snapshot;
  try {
    snapshot = state_->entries;
  } catch (...) {  // out of memory: no listener runs, and that is logged
    UnhandledErrors().RecordCurrent();
    return;
  }
  // Whatever a listener throws stops here: a toolkit's callback may be above.
  for (const auto& entry : snapshot) {
    if (entry->subscribed) Contained(entry->listener);
  }
}

std::size_t Event::ListenerCount() const noexcept { return state_->entries.size(); }

}  // namespace pigmo::runtime
