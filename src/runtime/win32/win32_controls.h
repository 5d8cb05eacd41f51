// The runtime's controls on Win32 EDIT, STATIC and BUTTON controls, and the
// window font. The window creates and owns the controls' windows; a control
// that outlives its window keeps answering from its last state.
//
// No <windows.h> here: handles are named by the structs <windows.h>
// declares them as (STRICT), so HWND__* is HWND and so on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/controls.h"
#include "runtime/form_spec.h"

struct HBRUSH__;
struct HDC__;
struct HFONT__;
struct HWND__;

namespace pigmo::runtime::win32 {

// Whether a font family of this name is installed. The window's font is the
// description's face where it is, else its fallback family where that is.
bool FaceInstalled(std::string_view face);

// The description's font at `dpi`; nullptr when it cannot be made.
HFONT__* CreateSpecFont(const FontSpec& font, unsigned dpi);

// The text as the wide-character string the system calls take.
const wchar_t* Wide(const std::u16string& s);

class Win32TextBox final : public TextBox {
 public:
  Win32TextBox(std::u16string text, bool read_only, std::int32_t max_length);

  std::u16string Text() const override;
  void SetText(std::u16string_view text) override;
  std::int32_t Caret() const override;
  void SetCaret(std::int32_t caret) override;

  HWND__* Handle() const { return hwnd_; }

  // Sets a box's colours on `dc` when the box asks its parent for them
  // (WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC when read-only) and returns the
  // brush for its background.
  static HBRUSH__* Colours(HDC__* dc, std::optional<Colour> fore);

 private:
  friend class Win32Form;
  struct Subclass;  // the control's window procedure, beside the definitions

  void Attach(HWND__* hwnd);
  void Detach();
  // EN_CHANGE from the control: the user (or the control itself) edited it.
  void OnEditChange();
  // Raises the change event when the text differs from the one last seen.
  void RaiseIfChanged();

  HWND__* hwnd_ = nullptr;
  // The text as last seen, so that a change event is raised exactly once for
  // each real change, whatever notifications the control sends. It also
  // keeps the text readable once the window is gone.
  std::u16string known_text_;
  int program_writes_ = 0;  // > 0 while SetText talks to the control
  // The control notifies EN_CHANGE in the middle of an edit, before it has
  // placed the caret (undo selects the restored text only afterwards). The
  // event waits until the message that made the edit has been handled, so
  // listeners see the caret where the edit leaves it, and a listener that
  // writes the box does not reenter the control halfway through an edit.
  int depth_ = 0;  // messages to the control under way
  bool change_pending_ = false;
};

class Win32Label final : public Label {
 public:
  // A colour patch tells screen readers when its colour, which describes it, changes.
  Win32Label(std::u16string caption, std::optional<Colour> fore, std::optional<Colour> back, bool colour_patch);
  ~Win32Label() override;
  Win32Label(const Win32Label&) = delete;
  Win32Label& operator=(const Win32Label&) = delete;

  std::u16string Caption() const override { return caption_; }
  Colour BackColour() const override;
  void SetBackColour(Colour colour) override;

  HWND__* Handle() const { return hwnd_; }

  // Sets the label's colours on `dc` when it asks its parent for them
  // (WM_CTLCOLORSTATIC) and returns the brush for its background.
  HBRUSH__* Colours(HDC__* dc) const;

 private:
  friend class Win32Form;
  HBRUSH__* Brush() const;

  HWND__* hwnd_ = nullptr;
  std::u16string caption_;
  std::optional<Colour> fore_;
  std::optional<Colour> back_;
  bool colour_patch_;
  HBRUSH__* brush_ = nullptr;  // for back_, when set
};

class Win32Button final : public Button {
 public:
  explicit Win32Button(std::u16string caption) : caption_(std::move(caption)) {}
  std::u16string Caption() const override { return caption_; }
  HWND__* Handle() const { return hwnd_; }

 private:
  friend class Win32Form;
  HWND__* hwnd_ = nullptr;
  std::u16string caption_;
};

}  // namespace pigmo::runtime::win32
