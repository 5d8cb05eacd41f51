#include "window/form1.h"

#include "window/form1_description.h"

namespace pigmo::window {

Form1::Form1(runtime::Form& form, runtime::Locale locale) : form_(form), locale_(std::move(locale)) {
  subscriptions_.push_back(form_.ButtonNamed("Command1").OnClick([this] { Command1_Click(); }));
}

Form1::~Form1() = default;

void Form1::Command1_Click() { form_.ShowInfo(AboutText(), AboutTitle()); }

}  // namespace pigmo::window
