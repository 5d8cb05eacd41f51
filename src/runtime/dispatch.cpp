#include "runtime/dispatch.h"

namespace pigmo::runtime {

void DispatchErrorLog::Record(const Error& error) {
  ++count_;
  last_ = error;
  if (observer_) observer_(error);
}

void DispatchErrorLog::Clear() noexcept {
  count_ = 0;
  last_.reset();
}

void DispatchErrorLog::SetObserver(std::function<void(const Error&)> observer) {
  observer_ = std::move(observer);
}

DispatchErrorLog& UnhandledErrors() {
  thread_local DispatchErrorLog log;
  return log;
}

}  // namespace pigmo::runtime
