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
  void Record(const Error& error);
  std::size_t Count() const noexcept { return count_; }
  const std::optional<Error>& Last() const noexcept { return last_; }
  void Clear() noexcept;
  // Called for each recorded error (the program may print it); may be empty.
  void SetObserver(std::function<void(const Error&)> observer);

 private:
  std::size_t count_ = 0;
  std::optional<Error> last_;
  std::function<void(const Error&)> observer_;
};

// The log of this thread: the window and all its events live on one thread.
DispatchErrorLog& UnhandledErrors();

}  // namespace pigmo::runtime
