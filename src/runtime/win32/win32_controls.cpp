#include "runtime/win32/win32_controls.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "runtime/contrast.h"
#include "runtime/dispatch.h"

namespace pigmo::runtime::win32 {

namespace {

std::u16string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

COLORREF ToColorRef(Colour colour) { return static_cast<COLORREF>(colour & 0x00FFFFFFu); }

// With high contrast on, Windows asks every program to paint in the
// system's colours.
bool HighContrastOn() {
  HIGHCONTRASTW settings{};
  settings.cbSize = sizeof settings;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A control's own text colour where it reads on `background`; the system's
// window-text colour otherwise.
COLORREF TextColourOn(std::optional<Colour> own, COLORREF background) {
  return ToColorRef(
      TextColour(own, GetSysColor(COLOR_WINDOWTEXT) & 0x00FFFFFFu, background & 0x00FFFFFFu, HighContrastOn()));
}

// A face name is ASCII in every description; longer than LOGFONT holds is cut.
void SetFaceName(LOGFONTW& lf, std::string_view face) {
  const size_t n = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  for (size_t i = 0; i < n; ++i) lf.lfFaceName[i] = static_cast<wchar_t>(face[i]);
}

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

}  // namespace

const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// ------------------------------------------------------------------- font

HFONT CreateSpecFont(const FontSpec& font, UINT dpi) {
  LOGFONTW lf{};
  // Negative: the character height, as a point size means it.
  lf.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
  lf.lfWeight = font.weight;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfStrikeOut = font.strikeout ? TRUE : FALSE;
  lf.lfCharSet = ANSI_CHARSET;  // Western
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  // Where the face is missing, the description's fallback family stands
  // in, as on Linux: the font mapper's own pick can look lighter than bold
  // (Wine's stand-in for Verdana does). Without either, the mapper picks a
  // sans-serif.
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  const std::string_view face =
      FaceInstalled(font.face) || !FaceInstalled(font.fallback_family) ? font.face : font.fallback_family;
  SetFaceName(lf, face);
  return CreateFontIndirectW(&lf);
}

bool FaceInstalled(std::string_view face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  SetFaceName(lf, face);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &lf, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// ---------------------------------------------------------------- text box

struct Win32TextBox::Subclass {
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR self) {
    auto* box = reinterpret_cast<Win32TextBox*>(self);
    ++box->depth_;
    const LRESULT result = DefSubclassProc(hwnd, message, wparam, lparam);
    --box->depth_;
    if (box->depth_ == 0 && box->change_pending_) {
      box->change_pending_ = false;
      Contained([box] { box->RaiseIfChanged(); });  // nothing unwinds into the system
    }
    return result;
  }
};

Win32TextBox::Win32TextBox(std::u16string text, bool read_only, std::int32_t max_length)
    : TextBox(read_only, max_length), known_text_(std::move(text)) {}

void Win32TextBox::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetWindowSubclass(hwnd_, &Subclass::EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
  // The limit binds typing and pasting only: WM_SETTEXT ignores it. 0 lifts
  // the control's default limit of 32,767 characters for boxes without one.
  SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(MaxLength(), 0)), 0);
  known_text_ = WindowText(hwnd_);
}

void Win32TextBox::Detach() {
  if (hwnd_ != nullptr) {
    known_text_ = WindowText(hwnd_);
    RemoveWindowSubclass(hwnd_, &Subclass::EditProc, 0);
  }
  hwnd_ = nullptr;
  change_pending_ = false;
}

std::u16string Win32TextBox::Text() const { return hwnd_ != nullptr ? WindowText(hwnd_) : known_text_; }

void Win32TextBox::SetText(std::u16string_view text) {
  const std::u16string before = Text();
  if (hwnd_ == nullptr) {
    known_text_.assign(text);
  } else if (text != before) {
    // The control notifies EN_CHANGE from inside WM_SETTEXT (on some
    // versions even for the same text); that notification is ignored and
    // the event raised below, once, after the caret is in place.
    const std::u16string buffer(text);
    ++program_writes_;
    SetWindowTextW(hwnd_, Wide(buffer));
    --program_writes_;
    known_text_ = WindowText(hwnd_);  // an edit control stops at U+0000
  }
  if (hwnd_ != nullptr) SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  if (known_text_ != before) RaiseChange();
}

std::int32_t Win32TextBox::Caret() const {
  if (hwnd_ == nullptr) return 0;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<std::int32_t>(std::min(start, end));
}

void Win32TextBox::SetCaret(std::int32_t caret) {
  const std::int32_t at = PlaceCaret(caret, Text().size());
  if (hwnd_ != nullptr) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(at), static_cast<LPARAM>(at));
}

void Win32TextBox::OnEditChange() {
  if (program_writes_ > 0 || hwnd_ == nullptr) return;
  if (depth_ > 0) {
    change_pending_ = true;
    return;
  }
  RaiseIfChanged();
}

void Win32TextBox::RaiseIfChanged() {
  if (hwnd_ == nullptr) return;
  std::u16string now = WindowText(hwnd_);
  if (now == known_text_) return;  // a notification without a change
  known_text_ = std::move(now);
  RaiseChange();
}

HBRUSH Win32TextBox::Colours(HDC dc, std::optional<Colour> fore) {
  // Read-only boxes ask with WM_CTLCOLORSTATIC and would get the dialog
  // face; every box keeps the window colours instead.
  SetTextColor(dc, TextColourOn(fore, GetSysColor(COLOR_WINDOW)));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

// ------------------------------------------------------------------ label

Win32Label::Win32Label(std::u16string caption, std::optional<Colour> fore, std::optional<Colour> back,
                       bool colour_patch)
    : caption_(std::move(caption)), fore_(fore), colour_patch_(colour_patch) {
  if (back) SetBackColour(*back);
}

Win32Label::~Win32Label() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

Colour Win32Label::BackColour() const {
  return back_ ? *back_ : static_cast<Colour>(GetSysColor(COLOR_BTNFACE) & 0x00FFFFFFu);
}

void Win32Label::SetBackColour(Colour colour) {
  const Colour rgb = colour & 0x00FFFFFFu;
  if (back_ == rgb && brush_ != nullptr) return;
  HBRUSH brush = CreateSolidBrush(ToColorRef(rgb));
  if (brush == nullptr) return;  // out of GDI objects: keep the old colour
  HBRUSH old = brush_;
  brush_ = brush;
  back_ = rgb;
  if (hwnd_ != nullptr) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    // A colour patch describes its colour to screen readers: they learn
    // that the description changed.
    if (colour_patch_) NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
  }
  if (old != nullptr) DeleteObject(old);
}

HBRUSH Win32Label::Brush() const { return brush_ != nullptr ? brush_ : GetSysColorBrush(COLOR_BTNFACE); }

HBRUSH Win32Label::Colours(HDC dc) const {
  // The swatch keeps its colour whatever the scheme: it shows no text.
  SetTextColor(dc, TextColourOn(fore_, ToColorRef(BackColour())));
  SetBkColor(dc, ToColorRef(BackColour()));
  return Brush();
}

}  // namespace pigmo::runtime::win32
