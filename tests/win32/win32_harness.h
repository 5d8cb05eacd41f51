// Tests of the Win32 backend: the contract suite's harness and the helpers
// beside it. In the harness the user's input goes through the program's
// message loop: keystrokes are posted to the edit control as the messages
// TranslateMessage makes of them (WM_CHAR, with the
// control characters of Ctrl+V, Ctrl+X, Ctrl+C and Ctrl+Z for the clipboard
// and undo keys), and each is dispatched through the form's keyboard
// interface. Message boxes are answered by pressing their OK button from
// inside their modal loop.
#pragma once

#include <windows.h>

#include "runtime/win32/win32_form.h"

#include <memory>
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


class Win32Harness : public contract::Harness {
 public:
  ~Win32Harness() override { form_.reset(); }

  Form& Build(const FormSpec& description) override {
    form_.reset();
    spec_ = &description;
    form_ = std::make_unique<Win32Form>(description, GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
    return *form_;
  }
  void Show() override {
    form_->Show();
    Pump(form_.get());
    // Waits for the focus: it is set inside Show on this very thread.
    if (GetFocus() == nullptr || !IsChild(form_->Handle(), GetFocus())) {
      ADD_FAILURE() << "the window did not take the keyboard focus";
    }
  }
  bool WindowOpen() override {
    return form_ && form_->Handle() != nullptr && IsWindowVisible(form_->Handle());
  }

  void Type(std::string_view box, std::u16string_view keys) override {
    for (char16_t c : keys) Key(box, c);
  }
  void Paste(std::string_view box, std::u16string_view clip) override {
    SetClipboardText(clip);
    Key(box, 0x16);  // Ctrl+V
  }
  void Select(std::string_view box, std::int32_t start, std::int32_t length) override {
    SendMessageW(Edit(box), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
  }
  std::int32_t SelectionLength(std::string_view box) override {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Edit(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<std::int32_t>(end > start ? end - start : start - end);
  }
  // The message loop's TranslateMessage makes the WM_CHAR of Backspace.
  void Backspace(std::string_view box) override { KeyDown(box, VK_BACK); }
  void Delete(std::string_view box) override { KeyDown(box, VK_DELETE); }
  std::u16string Cut(std::string_view box) override {
    SetClipboardText(u"");
    Key(box, 0x18);  // Ctrl+X
    return ClipboardText();
  }
  std::u16string Copy(std::string_view box) override {
    SetClipboardText(u"");
    Key(box, 0x03);  // Ctrl+C
    return ClipboardText();
  }
  void Undo(std::string_view box) override { Key(box, 0x1A); }  // Ctrl+Z

  void PressTab(bool backwards) override { PressKey(*form_, VK_TAB, backwards); }
  std::string Focused() override {
    HWND focus = GetFocus();
    for (const ControlSpec& c : spec_->controls) {
      if (form_->ControlHandle(c.name) == focus) return std::string(c.name);
    }
    return {};
  }

  void Click(std::string_view button) override {
    MessageBoxAnswerer answerer(&seen_);
    // A mouse click: the button's press and release at its middle.
    HWND hwnd = form_->ControlHandle(button);
    RECT r{};
    GetClientRect(hwnd, &r);
    const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, middle);
    Pump(form_.get());
  }
  std::vector<contract::ShownMessage> Messages() override {
    std::vector<contract::ShownMessage> shown;
    for (const SeenMessageBox& s : seen_) shown.push_back(s.shown);
    return shown;
  }

  Win32Form& form() { return *form_; }
  const std::vector<SeenMessageBox>& Seen() const { return seen_; }

 private:
  HWND Edit(std::string_view box) const { return form_->ControlHandle(box); }
  // One character as the message loop receives it.
  void Key(std::string_view box, char16_t c) {
    PostMessageW(Edit(box), WM_CHAR, c, 1);
    Pump(form_.get());
  }
  void KeyDown(std::string_view box, UINT key) {
    PostMessageW(Edit(box), WM_KEYDOWN, key, 1);
    PostMessageW(Edit(box), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    Pump(form_.get());
  }

  const FormSpec* spec_ = nullptr;
  std::unique_ptr<Win32Form> form_;
  std::vector<SeenMessageBox> seen_;
};

}  // namespace pigmo::runtime::win32::testing
