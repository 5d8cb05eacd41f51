// What the contract suite needs from a backend: build and show a form, and act as the user through the backend's own
// input path (for a real toolkit: key and mouse events), never through TextBox. Default-constructible.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/form.h"
#include "runtime/form_spec.h"

namespace pigmo::runtime::contract {

// A message box as the user saw it before answering it with OK.
struct ShownMessage {
  std::u16string text;  // with its line breaks as the platform writes them
  std::u16string title;
  bool information_icon = false, only_ok_button = false;
};

class Harness {
 public:
  virtual ~Harness() = default;
  // Replaces any earlier form; `description` outlives it.
  virtual Form& Build(const FormSpec& description) = 0;
  // Shows the form and waits until its window has the keyboard focus.
  virtual void Show() = 0;
  virtual bool WindowOpen() = 0;
  // The user on the named box, focused or not, from its caret and selection. Type sends a keystroke a character; Cut
  // and Copy return the clipboard.
  virtual void Type(std::string_view box, std::u16string_view keys) = 0;
  virtual void Paste(std::string_view box, std::u16string_view clip) = 0;
  virtual void Select(std::string_view box, std::int32_t start, std::int32_t length) = 0;
  virtual std::int32_t SelectionLength(std::string_view box) = 0;
  virtual void Backspace(std::string_view box) = 0;
  virtual void Delete(std::string_view box) = 0;
  virtual std::u16string Cut(std::string_view box) = 0;
  virtual std::u16string Copy(std::string_view box) = 0;
  virtual void Undo(std::string_view box) = 0;
  // Any message box a click opens is answered with OK and recorded.
  virtual void Click(std::string_view button) = 0;
  virtual std::vector<ShownMessage> Messages() = 0;
};

}  // namespace pigmo::runtime::contract
