// What a control tells screen readers. The system's own accessible object
// for a control names it from its text, or an edit control from the
// caption just before it in Z order, and describes nothing. This answers
// the control's WM_GETOBJECT with that object, wrapped so that the window
// can give a name and a description of its own.
//
// No <windows.h> here, as in win32_controls.h.
#pragma once

#include <functional>
#include <string>

struct HWND__;

namespace pigmo::runtime::win32 {

class AccessibleControl {
 public:
  // Read whenever a screen reader asks, so they may change with the
  // control. Empty: the system's object answers.
  using Words = std::function<std::u16string()>;

  // Answers `hwnd`'s WM_GETOBJECT from now until Disconnect.
  AccessibleControl(HWND__* hwnd, Words name, Words description);
  ~AccessibleControl();
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;

  // The control is going. A screen reader may still hold the object: every
  // call on it then fails with CO_E_OBJNOTCONNECTED.
  void Disconnect();

 private:
  class Object;  // the COM object, beside the definitions
  struct Subclass;

  HWND__* hwnd_;
  Words name_;
  Words description_;
  Object* object_ = nullptr;  // one reference, made at the first question
};

}  // namespace pigmo::runtime::win32
