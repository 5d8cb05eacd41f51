// Helpers for tests of the Win32 backend: a window built from Form1's
// description, and a user who types, pastes and presses keys by sending the
// messages the keyboard and the clipboard would.
#pragma once

#include "runtime/win32/win32_form.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/contract/harness.h"
#include "runtime/dispatch.h"
#include "window/form1_description.h"

namespace pigmo::runtime::win32::testing {

// Dispatches what is waiting in this thread's queue, through the form's
// keyboard interface as the program's message loop does.
inline void Pump(Win32Form* form = nullptr) {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (form != nullptr && form->PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline std::u16string WindowText(HWND hwnd) {
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
  text.resize(static_cast<size_t>(
      GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
  return text;
}

inline void SetClipboardText(std::u16string_view text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  if (memory != nullptr) {
    auto* out = static_cast<char16_t*>(GlobalLock(memory));
    text.copy(out, text.size());
    out[text.size()] = u'\0';
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

inline std::u16string ClipboardText() {
  std::u16string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The user at one edit control.
class EditUser {
 public:
  explicit EditUser(HWND edit) : edit_(edit) {}

  void Select(int start, int end) { SendMessageW(edit_, EM_SETSEL, start, end); }
  void SelectAll() { Select(0, -1); }
  void MoveCaret(int caret) { Select(caret, caret); }
  void Type(std::u16string_view keys) {
    for (char16_t c : keys) SendMessageW(edit_, WM_CHAR, c, 1);
  }
  void Backspace() { SendMessageW(edit_, WM_CHAR, VK_BACK, 1); }
  void Delete() {
    SendMessageW(edit_, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageW(edit_, WM_KEYUP, VK_DELETE, 0xC0000001);
  }
  void Paste(std::u16string_view clip) {
    SetClipboardText(clip);
    SendMessageW(edit_, WM_PASTE, 0, 0);
  }
  void Cut() { SendMessageW(edit_, WM_CUT, 0, 0); }
  std::u16string Copy() {
    SetClipboardText(u"");
    SendMessageW(edit_, WM_COPY, 0, 0);
    return ClipboardText();
  }
  void Undo() { SendMessageW(edit_, WM_UNDO, 0, 0); }
  std::pair<int, int> Selection() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }

 private:
  HWND edit_;
};

// Sets or clears the Shift key in this thread's keyboard state, which the
// dialog manager reads for Shift+Tab.
inline void SetShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// A key press as the message loop sees it: WM_KEYDOWN (and WM_CHAR when the
// key makes one) to the focused window, through the form's keyboard
// interface first.
inline void PressKey(Win32Form& form, UINT key, bool shift = false) {
  SetShift(shift);
  HWND focus = GetFocus();
  MSG down{focus, WM_KEYDOWN, key, 1, 0, {}};
  if (!form.PreTranslateMessage(down)) {
    TranslateMessage(&down);
    DispatchMessageW(&down);
  }
  Pump(&form);
  MSG up{GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u), 0, {}};
  if (!form.PreTranslateMessage(up)) DispatchMessageW(&up);
  Pump(&form);
  SetShift(false);
}

// A message box as this thread's user sees it.
struct SeenMessageBox {
  contract::ShownMessage shown;
  HWND owner = nullptr;
  bool owner_enabled = true;  // while the box is open
};

namespace detail {

inline BOOL CALLBACK DescribeChild(HWND child, LPARAM param) {
  auto* seen = reinterpret_cast<SeenMessageBox*>(param);
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (!IsWindowVisible(child)) return TRUE;
  if (_wcsicmp(cls, L"Static") == 0) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
      seen->shown.information_icon =
          icon != nullptr && icon == LoadIconW(nullptr, MAKEINTRESOURCEW(32516) /* IDI_INFORMATION */);
    } else if (GetWindowTextLengthW(child) > 0) {
      seen->shown.lines = contract::SplitLines(WindowText(child));
    }
  }
  return TRUE;
}

inline BOOL CALLBACK CountButtons(HWND child, LPARAM param) {
  auto* ids = reinterpret_cast<std::vector<int>*>(param);
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(child)) ids->push_back(GetDlgCtrlID(child));
  return TRUE;
}

}  // namespace detail

// While alive, answers every message box this thread opens: records it,
// then presses its OK button, as a user would.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(std::vector<SeenMessageBox>* seen) : seen_(seen) {
    previous_ = current_;
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &MessageBoxAnswerer::Tick);
  }
  ~MessageBoxAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = previous_;
  }
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

 private:
  static BOOL CALLBACK Visit(HWND hwnd, LPARAM) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd) || current_ == nullptr) return TRUE;
    SeenMessageBox seen;
    seen.shown.title = WindowText(hwnd);
    seen.owner = GetWindow(hwnd, GW_OWNER);
    seen.owner_enabled = seen.owner != nullptr && IsWindowEnabled(seen.owner);
    EnumChildWindows(hwnd, detail::DescribeChild, reinterpret_cast<LPARAM>(&seen));
    std::vector<int> buttons;
    EnumChildWindows(hwnd, detail::CountButtons, reinterpret_cast<LPARAM>(&buttons));
    seen.shown.only_ok_button = buttons == std::vector<int>{IDOK};
    current_->seen_->push_back(std::move(seen));
    HWND ok = GetDlgItem(hwnd, IDOK);
    if (ok != nullptr) {
      SendMessageW(ok, BM_CLICK, 0, 0);
    } else {
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &MessageBoxAnswerer::Visit, 0);
  }

  static inline thread_local MessageBoxAnswerer* current_ = nullptr;
  MessageBoxAnswerer* previous_ = nullptr;
  std::vector<SeenMessageBox>* seen_;
  UINT_PTR timer_ = 0;
};

// Form1's window on the Win32 backend, shown, with no handlers.
class ShownForm {
 public:
  ShownForm()
      : form(window::Form1Description(), GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy) {
    UnhandledErrors().Clear();
    form.Show();
    Pump(&form);
  }
  HWND Control(std::string_view name) const { return form.ControlHandle(name); }
  EditUser User(std::string_view name) const { return EditUser(form.ControlHandle(name)); }

  Win32Form form;
};

}  // namespace pigmo::runtime::win32::testing
