// The Win32 backend: a top-level window with EDIT, STATIC and BUTTON
// controls built from a FormSpec, with plain Win32 calls (no toolkit).
//
// Layout and font are in twips in the description and are scaled by the
// window's DPI (per-monitor aware), so the window keeps its size in inches
// on every monitor. The keyboard interface is the dialog manager's
// (IsDialogMessage): Tab and Shift+Tab walk the tab stops in tab order and
// select a box's whole text; Enter and Escape press nothing.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/form.h"
#include "runtime/form_spec.h"

namespace pigmo::runtime::win32 {

// A control's id is kFirstControlId plus its row in the description. Ids
// stay clear of IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Escape, so neither can press a control.
inline constexpr int kFirstControlId = 1000;

// The id the backend gives the control `name` of `description`; nullopt when the
// description has no such control.
std::optional<int> ControlId(const FormSpec& description, std::string_view name);

// Whether a font family of this name is installed. The window's font is the
// description's face where it is, else its fallback family where that is.
bool FaceInstalled(std::string_view face);

class Win32TextBox final : public TextBox {
 public:
  Win32TextBox(std::u16string text, bool read_only, std::int32_t max_length);

  std::u16string Text() const override;
  void SetText(std::u16string_view text) override;
  std::int32_t Caret() const override;
  void SetCaret(std::int32_t caret) override;
  bool ReadOnly() const override { return read_only_; }
  std::int32_t MaxLength() const override { return max_length_; }

  HWND Handle() const { return hwnd_; }

 private:
  friend class Win32Form;
  void Attach(HWND hwnd);
  void Detach();
  // EN_CHANGE from the control: the user (or the control itself) edited it.
  void OnEditChange();
  // Raises the change event when the text differs from the one last seen.
  void RaiseIfChanged();
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR self);

  HWND hwnd_ = nullptr;
  // The text as last seen, so that a change event is raised exactly once for
  // each real change, whatever notifications the control sends. It also
  // keeps the text readable once the window is gone.
  std::u16string known_text_;
  bool read_only_;
  std::int32_t max_length_;
  int program_writes_ = 0;  // > 0 while SetText talks to the control
  // The control notifies EN_CHANGE in the middle of an edit, before it has
  // placed the caret (undo selects the restored text only afterwards). The
  // event waits until the message that made the edit has been handled, so
  // listeners see the caret where the edit leaves it, and a listener that
  // writes the box does not reenter the control halfway through an edit.
  int depth_ = 0;           // messages to the control under way
  bool change_pending_ = false;
};

class Win32Label final : public Label {
 public:
  Win32Label(std::u16string caption, std::optional<Colour> fore, std::optional<Colour> back);
  ~Win32Label() override;
  Win32Label(const Win32Label&) = delete;
  Win32Label& operator=(const Win32Label&) = delete;

  std::u16string Caption() const override { return caption_; }
  Colour BackColour() const override;
  void SetBackColour(Colour colour) override;

  HWND Handle() const { return hwnd_; }

 private:
  friend class Win32Form;
  HBRUSH Brush() const;

  HWND hwnd_ = nullptr;
  std::u16string caption_;
  std::optional<Colour> fore_;
  std::optional<Colour> back_;
  HBRUSH brush_ = nullptr;  // for back_, when set
};

class Win32Button final : public Button {
 public:
  explicit Win32Button(std::u16string caption) : caption_(std::move(caption)) {}
  std::u16string Caption() const override { return caption_; }
  HWND Handle() const { return hwnd_; }

 private:
  friend class Win32Form;
  HWND hwnd_ = nullptr;
  std::u16string caption_;
};

class Win32Form final : public Form {
 public:
  enum class OnClose {
    kQuit,     // closing the window ends the message loop (the program)
    kDestroy,  // the window just goes (tests create many windows)
  };

  // Creates the window, hidden, with every control and start text of
  // `description`, which must outlive the form. No change event is raised.
  Win32Form(const FormSpec& description, HINSTANCE instance, OnClose on_close);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  std::shared_ptr<TextBox> TextBoxNamed(std::string_view name) override;
  Label& LabelNamed(std::string_view name) override;
  Button& ButtonNamed(std::string_view name) override;
  void ShowInfo(std::u16string_view text, std::u16string_view title) override;
  // Shows the window centred on its monitor's work area with the focus,
  // and the whole text selected, in the first tab stop.
  void Show() override;

  HWND Handle() const { return hwnd_; }
  HWND ControlHandle(std::string_view name) const;
  UINT Dpi() const { return dpi_; }

  // Gives `msg` to the dialog manager when it is meant for this window;
  // true when it was handled there and must not be dispatched again.
  bool PreTranslateMessage(MSG& msg);

 private:
  struct Control {
    const ControlSpec* description = nullptr;
    int id = 0;
    HWND hwnd = nullptr;
    std::shared_ptr<Win32TextBox> box;
    std::unique_ptr<Win32Label> label;
    std::unique_ptr<Win32Button> button;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT ControlColour(HDC dc, HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls(HINSTANCE instance);
  void ApplyDpi(UINT dpi);
  SIZE WindowSizeForDpi(UINT dpi) const;
  Control* FindByHandle(HWND hwnd);
  Control* FindByName(std::string_view name);
  const Control* FindByName(std::string_view name) const;

  const FormSpec& spec_;
  OnClose on_close_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HFONT font_ = nullptr;
  HWND saved_focus_ = nullptr;  // restored when the window is activated again
  std::vector<Control> controls_;  // in tab order
};

// Runs the message loop of the current thread until WM_QUIT, letting
// `form` have its keyboard interface. Returns WM_QUIT's exit code.
int RunMessageLoop(Win32Form& form);

}  // namespace pigmo::runtime::win32
