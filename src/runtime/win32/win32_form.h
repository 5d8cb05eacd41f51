// The Win32 backend: a top-level window with EDIT, STATIC and BUTTON
// controls built from a FormSpec, with plain Win32 calls (no toolkit).
//
// Of the description it honours
//   the form: caption, client size, centred, the font (face, else the
//     fallback family; points, weight, italic, underline, strikeout);
//   each control: name, kind, bounds, text, fore and back colour, read_only,
//     max_length, tab_index, uses_font, caption_of (the caption stands just
//     before its box in Z order, which names the box), accessible name and
//     description (a label without text is described by its colour);
// and ignores the form's name, resizable and the minimise and maximise
// boxes: its frame is always fixed, with the system menu and close box only.
//
// Layout and font are in twips in the description and are scaled by the
// window's DPI (per-monitor aware), so the window keeps its size in inches
// on every monitor. The keyboard interface is the dialog manager's
// (IsDialogMessage): Tab and Shift+Tab walk the tab stops in tab order and
// select a box's whole text; Enter and Escape press nothing.
//
// Screen readers get each control's name and description from the
// window's description (win32_accessible.h). They reach the controls
// through COM, so the window's thread is a single-threaded apartment while
// the form exists, and their calls arrive through its message loop.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/form.h"
#include "runtime/form_spec.h"
#include "runtime/win32/win32_accessible.h"
#include "runtime/win32/win32_controls.h"

struct HINSTANCE__;
struct tagMSG;  // MSG

namespace pigmo::runtime::win32 {

// A control's id is kFirstControlId plus its row in the description. Ids
// stay clear of IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Escape, so neither can press a control.
inline constexpr int kFirstControlId = 1000;

// The id the backend gives the control `name` of `description`; nullopt when the
// description has no such control.
std::optional<int> ControlId(const FormSpec& description, std::string_view name);

class Win32Form final : public Form {
 public:
  enum class OnClose {
    kQuit,     // closing the window ends the message loop (the program)
    kDestroy,  // the window just goes (tests create many windows)
  };

  // Creates the window, hidden, with every control and start text of
  // `description`, which must outlive the form. No change event is raised.
  Win32Form(const FormSpec& description, HINSTANCE__* instance, OnClose on_close);
  ~Win32Form() override;

  std::shared_ptr<TextBox> TextBoxNamed(std::string_view name) override;
  Label& LabelNamed(std::string_view name) override;
  Button& ButtonNamed(std::string_view name) override;
  void ShowInfo(std::u16string_view text, std::u16string_view title) override;
  // Shows the window centred on its monitor's work area with the focus,
  // and the whole text selected, in the first tab stop.
  void Show() override;

  HWND__* Handle() const { return hwnd_; }
  HWND__* ControlHandle(std::string_view name) const;
  unsigned Dpi() const { return dpi_; }

  // Gives `msg` to the dialog manager when it is meant for this window;
  // true when it was handled there and must not be dispatched again.
  bool PreTranslateMessage(tagMSG& msg);

 private:
  struct Control {
    const ControlSpec* description = nullptr;
    int id = 0;
    HWND__* hwnd = nullptr;
    std::shared_ptr<Win32TextBox> box;
    std::unique_ptr<Win32Label> label;
    std::unique_ptr<Win32Button> button;
    std::unique_ptr<AccessibleControl> accessible;
  };

  struct Proc;  // the window procedure, beside the definitions

  void CreateControls(HINSTANCE__* instance);
  void StackControls();
  void ApplyDpi(unsigned dpi);
  void ClipCaption(const Control& caption, unsigned dpi);
  // The box whose caption `control` is; nullptr for any other control.
  const Control* BoxCaptioned(const Control& control) const;
  Control* FindByHandle(HWND__* hwnd);
  Control* FindByName(std::string_view name);
  const Control* FindByName(std::string_view name) const;

  const FormSpec& spec_;
  OnClose on_close_;
  bool com_ = false;  // this form set up COM on the thread, and ends it
  HWND__* hwnd_ = nullptr;
  unsigned dpi_ = 96;  // USER_DEFAULT_SCREEN_DPI
  HFONT__* font_ = nullptr;
  HWND__* saved_focus_ = nullptr;  // restored when the window is activated again
  std::vector<Control> controls_;  // in tab order
};

// Runs the message loop of the current thread until WM_QUIT, letting
// `form` have its keyboard interface. Returns WM_QUIT's exit code.
int RunMessageLoop(Win32Form& form);

}  // namespace pigmo::runtime::win32
