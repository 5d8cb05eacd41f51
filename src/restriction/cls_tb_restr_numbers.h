// clsTBRestrNumbers: binds to one text box at a time and keeps its text
// numeric with CleanText, once when bound (caret moved to the end, so the
// whole text is cleaned) and again after every change of the box, whoever
// made it. It reports nothing and catches no error.
//
// States: Unbound (mTB and txtTmpTB none), Bound to B (both B), Cleaning B
// (mTB B, txtTmpTB none, inside the change handler) and Released from B
// (the same, left behind when a clean in the change handler fails; the
// next Init binds again).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/controls.h"
#include "runtime/locale.h"

namespace pigmo::restriction {

class clsTBRestrNumbers {
 public:
  // `locale` gives the text comparison the cleaning uses.
  explicit clsTBRestrNumbers(runtime::Locale locale);
  clsTBRestrNumbers(const clsTBRestrNumbers&) = delete;
  clsTBRestrNumbers& operator=(const clsTBRestrNumbers&) = delete;
  ~clsTBRestrNumbers() = default;

  // Binds to `TB` with the allowed set `sAllowed` + `sDelimiter` and the
  // delimiter `sDelimiter` ("^" when that is empty), and cleans `TB` with
  // its caret at the end. Binding another box ends the binding to the
  // previous one. On failure the new sets stay, the previous binding stays.
  void Init(std::shared_ptr<runtime::TextBox> TB, std::u16string_view sAllowed, std::u16string_view sDelimiter);

  // See InstrPrev in clean_text.h; reads nothing of the object.
  std::int32_t InstrPrev(std::u16string_view Text, std::u16string_view sMatch, std::int32_t LastPos) const;

 private:
  friend struct pigmo::TestProbe;

  void FilterText(const std::shared_ptr<runtime::TextBox>& box);
  void OnBoundChange();
  // Every assignment of txtTmpTB goes through here: it ends the old
  // subscription and starts the new one.
  void set_txtTmpTB(std::shared_ptr<runtime::TextBox> box);

  std::shared_ptr<runtime::TextBox> mTB;
  std::u16string msAllowed;
  std::u16string msDelimiter;
  std::shared_ptr<runtime::TextBox> txtTmpTB;

  runtime::Subscription txtTmpTB_change_;
  runtime::Locale locale_;
};

}  // namespace pigmo::restriction
