// Form1's behaviour: the handlers that keep its boxes in step, wired to a
// window that a backend built from Form1Description().
#pragma once

#include <memory>
#include <vector>

#include "runtime/form.h"
#include "runtime/locale.h"

namespace pigmo::window {

class Form1 {
 public:
  // Connects every handler to `form`, which must outlive this object. The
  // start texts are already in place, so no handler runs here.
  Form1(runtime::Form& form, runtime::Locale locale);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1();

 private:
  void Command1_Click();

  runtime::Form& form_;
  runtime::Locale locale_;
  std::vector<runtime::Subscription> subscriptions_;
};

}  // namespace pigmo::window
