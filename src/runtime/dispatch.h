// Errors that leave an event handler end up here. The event dispatch
// contains them: the window stays open, every text stays as it is, and no
// message is shown. Tests read the log to prove that no error escaped.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "runtime/error.h"

namespace pigmo::runtime {

class DispatchErrorLog {
 public:
  // Logs the exception being handled; call it from inside a catch block.
  // Our Error is logged as it is; any other exception (std::bad_alloc, a
  // toolkit's, one not derived from std::exception) as a kForeign Error.
  // Never throws: nothing may unwind into a toolkit's callback.
  void RecordCurrent() noexcept;
  std::size_t Count() const noexcept { return count_; }
  const std::optional<Error>& Last() const noexcept { return last_; }
  void Clear() noexcept;
  // Called for each recorded error (the program may print it); may be empty.
  void SetObserver(std::function<void(const Error&)> observer);

 private:
  void Record(const Error& error) noexcept;
  void RecordForeign(const char* what) noexcept;

  std::size_t count_ = 0;
  std::optional<Error> last_;
  std::function<void(const Error&)> observer_;
};

// The log of this thread: the window and all its events live on one thread.
DispatchErrorLog& UnhandledErrors();

// Runs `work` for a toolkit's callback (a window procedure, a Qt slot) and
// logs whatever it throws, as the event dispatch does for its listeners.
template <typename Work>
void Contained(Work&& work) noexcept {
  try {
    work();
  } catch (...) {
    UnhandledErrors().RecordCurrent();
  }
}

}  // namespace pigmo::runtime
