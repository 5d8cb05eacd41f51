#include "runtime/win32/win32_form.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <utility>

#include "runtime/colour_words.h"
#include "runtime/dispatch.h"
#include "runtime/error.h"
#include "runtime/win32/win32_metrics.h"

static_assert(USER_DEFAULT_SCREEN_DPI == 96, "Win32Form::dpi_ starts at the default DPI");

namespace pigmo::runtime::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"PigmoWindow";

// A fixed single border with a title bar, system menu and close box; the
// user cannot resize, minimise or maximise the window.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

// What screen readers call a control. A box with a caption is named by the
// system after the caption just before it in Z order, as a sighted user
// reads it; every other control by the description.
AccessibleControl::Words AccessibleName(const FormSpec& description, const ControlSpec& c) {
  const bool captioned = std::ranges::any_of(description.controls, [&c](const ControlSpec& other) {
    return other.kind == ControlKind::kLabel && other.caption_of == c.name;
  });
  if (captioned || c.accessible_name.empty()) return {};
  return [name = std::u16string(c.accessible_name)] { return name; };
}

// A colour patch says which colour it shows.
AccessibleControl::Words AccessibleDescription(const ControlSpec& c, const Win32Label* label) {
  if (label != nullptr && c.colour_patch) return [label] { return ColourInWords(label->BackColour()); };
  if (c.accessible_description.empty()) return {};
  return [words = std::u16string(c.accessible_description)] { return words; };
}

ATOM RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kWindowClass, &existing)) return 1;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = LoadProgramIcon(instance, SM_CXICON, SM_CYICON);
  wc.hIconSm = LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kWindowClass;
  return RegisterClassExW(&wc);
}

}  // namespace

std::optional<int> ControlId(const FormSpec& description, std::string_view name) {
  for (size_t i = 0; i < description.controls.size(); ++i) {
    if (description.controls[i].name == name) return kFirstControlId + static_cast<int>(i);
  }
  return std::nullopt;
}

// The window procedure and what it hands on to, kept out of the header
// with the <windows.h> types they speak in.
struct Win32Form::Proc {
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT HandleMessage(Win32Form& form, UINT message, WPARAM wparam, LPARAM lparam);
};

Win32Form::Win32Form(const FormSpec& description, HINSTANCE instance, OnClose on_close)
    : spec_(description), on_close_(on_close) {
  if (!RegisterWindowClass(instance, &Proc::WindowProc)) {
    Raise(ErrorKind::kPlatform, "cannot register the window class");
  }
  // Created where it will be shown (the primary monitor), so that its DPI
  // is that monitor's from the start.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const std::u16string caption(spec_.caption);
  hwnd_ = CreateWindowExW(kWindowExStyle, kWindowClass, Wide(caption), kWindowStyle, work.left, work.top, 100, 100,
                          nullptr, nullptr, instance, this);
  if (hwnd_ == nullptr) Raise(ErrorKind::kPlatform, "cannot create the window");
  // The title bar and the task bar show the program's icon.
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadProgramIcon(instance, SM_CXICON, SM_CYICON)));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON)));
  dpi_ = DpiOf(hwnd_);
  CreateControls(instance);
  ApplyDpi(dpi_);

  // Centred on the work area of its monitor.
  const SIZE size = WindowSizeForDpi(spec_, dpi_, kWindowStyle, kWindowExStyle);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    work = monitor.rcWork;
  }
  const int x = spec_.centred ? work.left + (work.right - work.left - size.cx) / 2 : work.left;
  const int y = spec_.centred ? work.top + (work.bottom - work.top - size.cy) / 2 : work.top;
  SetWindowPos(hwnd_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  // Last, so that nothing thrown above leaves it set up.
  com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

Win32Form::~Win32Form() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
  if (com_) CoUninitialize();
}

void Win32Form::CreateControls(HINSTANCE instance) {
  controls_.reserve(spec_.controls.size());
  for (const ControlSpec* row : InTabOrder(spec_)) {
    const ControlSpec& c = *row;
    Control control;
    control.description = &c;
    control.id = kFirstControlId + static_cast<int>(row - spec_.controls.data());
    const wchar_t* window_class = nullptr;
    // Clipped by its siblings: a caption that reaches a pixel into the box
    // below it must not paint over the box's top border.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD ex_style = 0;
    switch (c.kind) {
      case ControlKind::kTextBox:
        window_class = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (c.read_only ? ES_READONLY : 0);
        ex_style = WS_EX_CLIENTEDGE;  // the standard sunken border
        control.box = std::make_shared<Win32TextBox>(std::u16string(c.text), c.read_only, c.max_length);
        break;
      case ControlKind::kLabel:
        window_class = L"STATIC";
        // No word wrap, and "&" is no access-key marker.
        style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
        control.label =
            std::make_unique<Win32Label>(std::u16string(c.text), c.fore_colour, c.back_colour, c.colour_patch);
        break;
      case ControlKind::kButton:
        window_class = L"BUTTON";
        // A plain push button, never the default one.
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        control.button = std::make_unique<Win32Button>(std::u16string(c.text));
        break;
    }
    const std::u16string text(c.text);
    // Placed properly by ApplyDpi. Until the control is attached below its
    // notifications find no object, so the start text raises nothing.
    control.hwnd = CreateWindowExW(ex_style, window_class, Wide(text), style, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    if (control.hwnd == nullptr) Raise(ErrorKind::kPlatform, "cannot create " + std::string(c.name));
    control.accessible = std::make_unique<AccessibleControl>(control.hwnd, AccessibleName(spec_, c),
                                                             AccessibleDescription(c, control.label.get()));
    if (control.box) control.box->Attach(control.hwnd);
    if (control.label) control.label->hwnd_ = control.hwnd;
    if (control.button) control.button->hwnd_ = control.hwnd;
    controls_.push_back(std::move(control));
  }
  StackControls();
}

const Win32Form::Control* Win32Form::BoxCaptioned(const Control& control) const {
  const ControlSpec& c = *control.description;
  return c.kind == ControlKind::kLabel && !c.caption_of.empty() ? FindByName(c.caption_of) : nullptr;
}

// The dialog manager walks the tab stops in Z order, and the system names an
// edit control after the caption just before it in Z order. So the Z order
// is the tab order with each caption moved to just before its box; captions
// take no focus, so Tab and Shift+Tab still follow the tab order.
void Win32Form::StackControls() {
  const auto to_bottom = [](HWND hwnd) {
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  for (const Control& control : controls_) {
    if (BoxCaptioned(control) != nullptr) continue;  // goes with its box
    for (const Control& caption : controls_) {
      if (BoxCaptioned(caption) == &control) to_bottom(caption.hwnd);
    }
    to_bottom(control.hwnd);
  }
}

void Win32Form::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  HFONT font = CreateSpecFont(spec_.font, dpi);
  for (const Control& control : controls_) {
    const RECT r = PixelRect(control.description->bounds, dpi);
    SetWindowPos(control.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (BoxCaptioned(control) != nullptr) ClipCaption(control, dpi);
    if (control.description->uses_font && font != nullptr) {
      SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
  }
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;
}

// A caption now stands above controls that come before it in tab order.
// Where it overlaps one (it reaches a pixel into the top border of the box
// below it), it yields those pixels to that control, so the window looks as
// it would stacked in tab order.
void Win32Form::ClipCaption(const Control& caption, UINT dpi) {
  const RECT mine = PixelRect(caption.description->bounds, dpi);
  HRGN region = nullptr;
  for (const Control& control : controls_) {
    if (&control == &caption) break;
    const RECT theirs = PixelRect(control.description->bounds, dpi);
    RECT overlap{};
    if (!IntersectRect(&overlap, &mine, &theirs)) continue;
    if (region == nullptr) region = CreateRectRgn(0, 0, mine.right - mine.left, mine.bottom - mine.top);
    OffsetRect(&overlap, -mine.left, -mine.top);  // in the caption's own coordinates
    HRGN cut = CreateRectRgnIndirect(&overlap);
    CombineRgn(region, region, cut, RGN_DIFF);
    DeleteObject(cut);
  }
  SetWindowRgn(caption.hwnd, region, TRUE);  // the system owns the region now; nullptr: the whole caption
}

Win32Form::Control* Win32Form::FindByHandle(HWND hwnd) {
  for (Control& control : controls_) {
    if (control.hwnd == hwnd) return &control;
  }
  return nullptr;
}

Win32Form::Control* Win32Form::FindByName(std::string_view name) {
  return const_cast<Control*>(std::as_const(*this).FindByName(name));
}

const Win32Form::Control* Win32Form::FindByName(std::string_view name) const {
  for (const Control& control : controls_) {
    if (control.description->name == name) return &control;
  }
  return nullptr;
}

std::shared_ptr<TextBox> Win32Form::TextBoxNamed(std::string_view name) {
  Control* control = FindByName(name);
  if (control == nullptr || !control->box) NoSuchControl(name);
  return control->box;
}

Label& Win32Form::LabelNamed(std::string_view name) {
  Control* control = FindByName(name);
  if (control == nullptr || !control->label) NoSuchControl(name);
  return *control->label;
}

Button& Win32Form::ButtonNamed(std::string_view name) {
  Control* control = FindByName(name);
  if (control == nullptr || !control->button) NoSuchControl(name);
  return *control->button;
}

HWND Win32Form::ControlHandle(std::string_view name) const {
  const Control* control = FindByName(name);
  return control != nullptr ? control->hwnd : nullptr;
}

void Win32Form::ShowInfo(std::u16string_view text, std::u16string_view title) {
  const std::u16string message(text);
  const std::u16string caption(title);
  // Owned by the window, which it disables until it is closed.
  MessageBoxW(hwnd_, Wide(message), Wide(caption), MB_OK | MB_ICONINFORMATION);
}

void Win32Form::Show() {
  if (hwnd_ == nullptr) return;
  auto first = std::find_if(controls_.begin(), controls_.end(),
                            [](const Control& c) { return (GetWindowLongPtrW(c.hwnd, GWL_STYLE) & WS_TABSTOP) != 0; });
  saved_focus_ = first != controls_.end() ? first->hwnd : nullptr;
  // Keyboard focus at start selects the box's whole text, as Tab does.
  if (first != controls_.end() && first->box) SendMessageW(first->hwnd, EM_SETSEL, 0, -1);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  if (saved_focus_ != nullptr) SetFocus(saved_focus_);
}

bool Win32Form::PreTranslateMessage(MSG& msg) {
  if (hwnd_ == nullptr) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK Win32Form::Proc::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* form = static_cast<Win32Form*>(create->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  // Nothing may unwind into the system's dispatch: a failure is logged as
  // the event dispatch logs its listeners' and the message counts as handled.
  LRESULT result = 0;
  Contained([&] { result = HandleMessage(*form, message, wparam, lparam); });
  return result;
}

LRESULT Win32Form::Proc::HandleMessage(Win32Form& form, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      // Only notifications from our own controls count. Enter and Escape
      // arrive as IDOK and IDCANCEL from the dialog manager: ignored.
      const auto hwnd = reinterpret_cast<HWND>(lparam);
      if (hwnd == nullptr) return 0;
      Control* control = form.FindByHandle(hwnd);
      if (control == nullptr || LOWORD(wparam) != control->id) return 0;
      if (control->box && HIWORD(wparam) == EN_CHANGE) control->box->OnEditChange();
      if (control->button && HIWORD(wparam) == BN_CLICKED) control->button->RaiseClick();
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      const Control* control = form.FindByHandle(reinterpret_cast<HWND>(lparam));
      const auto dc = reinterpret_cast<HDC>(wparam);
      if (control != nullptr && control->box) {
        return reinterpret_cast<LRESULT>(Win32TextBox::Colours(dc, control->description->fore_colour));
      }
      if (control != nullptr && control->label) return reinterpret_cast<LRESULT>(control->label->Colours(dc));
      break;
    }
    case WM_ACTIVATE:
      // A plain window forgets its focused control when it is deactivated
      // (a message box, another program): remember it and give it back.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(form.hwnd_, focus)) form.saved_focus_ = focus;
      } else if (form.saved_focus_ != nullptr && IsWindow(form.saved_focus_)) {
        SetFocus(form.saved_focus_);
      }
      return 0;
    case WM_SETFOCUS:
      if (form.saved_focus_ != nullptr && IsWindow(form.saved_focus_)) SetFocus(form.saved_focus_);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor with another scale: the layout and the font
      // follow, and the client area keeps its size in twips.
      form.ApplyDpi(HIWORD(wparam));
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      const SIZE size = WindowSizeForDpi(form.spec_, form.dpi_, kWindowStyle, kWindowExStyle);
      SetWindowPos(form.hwnd_, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      for (Control& control : form.controls_) {
        control.accessible->Disconnect();
        if (control.box) control.box->Detach();
        if (control.label) control.label->hwnd_ = nullptr;
        if (control.button) control.button->hwnd_ = nullptr;
        control.hwnd = nullptr;
      }
      if (form.on_close_ == OnClose::kQuit) PostQuitMessage(0);
      break;
    case WM_NCDESTROY: {
      HWND hwnd = form.hwnd_;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      form.hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    default:
      break;
  }
  return DefWindowProcW(form.hwnd_, message, wparam, lparam);
}

int RunMessageLoop(Win32Form& form) {
  MSG msg{};
  BOOL got = FALSE;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (form.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace pigmo::runtime::win32
