#include "runtime/dispatch.h"

#include <exception>

namespace pigmo::runtime {

namespace {
// Built at start-up, so that a foreign exception is still logged as such
// when there is no memory left to describe it.
const Error kUndescribed(ErrorKind::kForeign, "no memory left to describe it");
}  // namespace

void DispatchErrorLog::RecordCurrent() noexcept {
  try {
    throw;
  } catch (const Error& error) {
    Record(error);
  } catch (const std::exception& error) {
    RecordForeign(error.what());
  } catch (...) {
    RecordForeign("an exception of unknown type");
  }
}

void DispatchErrorLog::Record(const Error& error) noexcept {
  ++count_;
  last_ = error;  // copying an exception does not throw
  if (!observer_) return;
  try {
    observer_(error);
  } catch (...) {
    // The observer only reports; its failure changes nothing here.
  }
}

void DispatchErrorLog::RecordForeign(const char* what) noexcept {
  try {
    Record(Error(ErrorKind::kForeign, what));
  } catch (...) {
    Record(kUndescribed);
  }
}

void DispatchErrorLog::Clear() noexcept {
  count_ = 0;
  last_.reset();
}

void DispatchErrorLog::SetObserver(std::function<void(const Error&)> observer) { observer_ = std::move(observer); }

DispatchErrorLog& UnhandledErrors() {
  thread_local DispatchErrorLog log;
  return log;
}

}  // namespace pigmo::runtime
