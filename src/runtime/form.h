// A window built by a backend from a FormSpec: its controls by name, the
// modal message box, and showing the window.
#pragma once

#include <memory>
#include <string_view>

#include "runtime/controls.h"

namespace pigmo::runtime {

class Form {
 public:
  // A form is its window: never copied.
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  // The control of that name; an unknown name or a control of another kind
  // is an invalid-argument Error. Text boxes are shared: a holder keeps the
  // box alive.
  virtual std::shared_ptr<TextBox> TextBoxNamed(std::string_view name) = 0;
  virtual Label& LabelNamed(std::string_view name) = 0;
  virtual Button& ButtonNamed(std::string_view name) = 0;

  // A message box modal to this window, with the information icon and one
  // OK button. Line breaks in `text` are kept. Returns when it is closed.
  virtual void ShowInfo(std::u16string_view text, std::u16string_view title) = 0;

  // Shows the window (centred where its description says so).
  virtual void Show() = 0;
};

// Raises the invalid-argument Error for a name no control of a form has.
[[noreturn]] void NoSuchControl(std::string_view name);

// A backend's control `name` from its map of controls by name.
template <class Map>
const typename Map::mapped_type& ControlNamed(const Map& controls, std::string_view name) {
  const auto it = controls.find(name);
  if (it == controls.end()) NoSuchControl(name);
  return it->second;
}

}  // namespace pigmo::runtime
