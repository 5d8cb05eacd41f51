// Form1's behaviour: the handlers that keep its boxes in step, wired to a
// window that a backend built from Form1Description().
//
// Four input handlers (red, green, blue, opacity) correct their box, write
// the fraction box, repaint the swatch and rebuild the colour array text;
// four fraction handlers write "0" or "1" when the input sits at either end
// of its range. Every text write raises its change event at once, so the
// handlers nest; a write of the same text ends each chain.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "restriction/cls_tb_restr_numbers.h"
#include "runtime/form.h"
#include "runtime/locale.h"

namespace pigmo::window {

// One row of the window: an input, its fraction box and its range.
struct InputRow {
  std::string_view input;     // "Text1"
  std::string_view fraction;  // "Text4"
  double bound;               // upper bound, scale and the value written "1"
  std::u16string_view bound_text;
  std::u16string_view pattern;  // fraction pattern
  bool paints_swatch;
  bool suppresses_binding_errors;  // whether step 1 runs with errors suppressed
};

class Form1 {
 public:
  // Connects every handler to `form`, which must outlive this object. The
  // start texts are already in place, so no handler runs here.
  Form1(runtime::Form& form, runtime::Locale locale);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1();

  static const std::vector<InputRow>& Rows();

 private:
  friend struct pigmo::TestProbe;

  void InputChanged(const InputRow& row);
  void FractionChanged(const InputRow& row);
  void Command1_Click();

  std::u16string FractionForBox(std::u16string_view input, const InputRow& row) const;
  std::shared_ptr<runtime::TextBox> Box(std::string_view name) const;

  runtime::Form& form_;
  runtime::Locale locale_;
  std::unique_ptr<restriction::clsTBRestrNumbers> cRestrict;
  std::vector<runtime::Subscription> subscriptions_;
};

}  // namespace pigmo::window
