// What the tests read of internals that the program never needs.
#pragma once

#include "restriction/cls_tb_restr_numbers.h"
#include "runtime/controls.h"
#include "runtime/event.h"
#include "window/form1.h"

namespace pigmo {

struct TestProbe {
  static std::size_t ListenerCount(const runtime::Event& event) { return event.ListenerCount(); }
  static std::size_t ListenerCount(const runtime::TextBox& box) { return box.changed_.ListenerCount(); }

  using Restriction = restriction::clsTBRestrNumbers;
  static const std::shared_ptr<runtime::TextBox>& WorkingBox(const Restriction& r) { return r.mTB; }
  static const std::shared_ptr<runtime::TextBox>& ListenedBox(const Restriction& r) { return r.txtTmpTB; }
  static const std::u16string& AllowedSet(const Restriction& r) { return r.msAllowed; }
  static const std::u16string& Delimiter(const Restriction& r) { return r.msDelimiter; }
  static const Restriction* cRestrict(const window::Form1& form) { return form.cRestrict.get(); }
};

}  // namespace pigmo
