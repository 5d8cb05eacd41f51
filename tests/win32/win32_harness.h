// The contract suite's harness for the Win32 backend. Keys are posted to the
// control (as WM_KEYDOWN and WM_KEYUP, or the WM_CHAR TranslateMessage makes
// of them: Ctrl+V, X, C and Z are control characters) and dispatched through
// the form's keyboard interface; message boxes get their OK button pressed.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/contract/harness.h"
#include "runtime/win32/win32_form.h"

namespace pigmo::runtime::win32::testing {

inline std::u16string WindowText(HWND hwnd) {
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
  text.resize(static_cast<size_t>(
      GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
  return text;
}

// A message box as this thread's user saw it.
struct SeenBox : contract::ShownMessage {
  std::vector<int> buttons;
  HWND owner = nullptr;
  bool owner_enabled = true;  // while the box was open
};

class Win32Harness : public contract::Harness {
 public:
  Form& Build(const FormSpec& description) override {
    form_.reset();
    spec_ = &description;
    form_ = std::make_unique<Win32Form>(description, GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
    return *form_;
  }
  void Show() override {
    form_->Show();
    Pump();
    // Show sets the focus, on this very thread: no waiting.
    if (!IsChild(form_->Handle(), GetFocus())) ADD_FAILURE() << "the window did not take the keyboard focus";
  }
  bool WindowOpen() override { return form_ && IsWindowVisible(form_->Handle()); }

  void Type(std::string_view box, std::u16string_view keys) override {
    for (char16_t c : keys) Post(Edit(box), WM_CHAR, c, 1);
  }
  void Paste(std::string_view box, std::u16string_view clip) override {
    SetClipboard(clip);
    Type(box, u"\x16");  // Ctrl+V
  }
  void Select(std::string_view box, std::int32_t start, std::int32_t length) override {
    SendMessageW(Edit(box), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
  }
  std::int32_t SelectionLength(std::string_view box) override {
    DWORD start = 0, end = 0;
    SendMessageW(Edit(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<std::int32_t>(end > start ? end - start : start - end);
  }
  void Backspace(std::string_view box) override { Key(Edit(box), VK_BACK); }
  void Delete(std::string_view box) override { Key(Edit(box), VK_DELETE); }
  std::u16string Cut(std::string_view box) override { return ClipboardKey(box, 0x18); }   // Ctrl+X
  std::u16string Copy(std::string_view box) override { return ClipboardKey(box, 0x03); }  // Ctrl+C
  void Undo(std::string_view box) override { Type(box, u"\x1A"); }                      // Ctrl+Z

  void PressTab(bool backwards) override { Key(GetFocus(), VK_TAB, backwards); }
  std::string Focused() override {
    for (const ControlSpec& c : spec_->controls) {
      if (form_->ControlHandle(c.name) == GetFocus()) return std::string(c.name);
    }
    return {};
  }

  // The button's press and release at its middle; boxes opened meanwhile are recorded.
  void Click(std::string_view button) override {
    answering_ = &seen_;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    HWND hwnd = form_->ControlHandle(button);
    RECT r{};
    GetClientRect(hwnd, &r);
    const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Post(hwnd, WM_LBUTTONUP, 0, middle);
    KillTimer(nullptr, timer);
    answering_ = nullptr;
  }
  const std::vector<SeenBox>& Seen() const { return seen_; }
  std::vector<contract::ShownMessage> Messages() override { return {seen_.begin(), seen_.end()}; }

  // A key pressed and released on `to`, with Shift held or not (the dialog
  // manager reads Shift from this thread's keyboard state).
  void Key(HWND to, UINT key, bool shift = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    Post(to, WM_KEYDOWN, key, 1);
    // The release goes where the press left the focus, as the user's does.
    Post(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
  }

 private:
  // The queue, as the program's message loop dispatches it.
  void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (form_ && form_->PreTranslateMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  HWND Edit(std::string_view box) const { return form_->ControlHandle(box); }
  // The one way input arrives: posted, then dispatched.
  void Post(HWND to, UINT message, WPARAM w, LPARAM l) {
    PostMessageW(to, message, w, l);
    Pump();
  }
  static void SetClipboard(std::u16string_view text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    auto* out = static_cast<char16_t*>(GlobalLock(memory));
    out[text.copy(out, text.size())] = u'\0';
    GlobalUnlock(memory);
    EXPECT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory));
    CloseClipboard();
  }
  // What the cut or copy key put on the clipboard.
  std::u16string ClipboardKey(std::string_view box, char16_t key) {
    SetClipboard(u"");
    Type(box, {&key, 1});
    std::u16string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* p = static_cast<const char16_t*>(GlobalLock(data))) text = p;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }

  static bool Shown(HWND hwnd, const wchar_t* cls) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    return _wcsicmp(name, cls) == 0 && IsWindowVisible(hwnd);
  }
  static BOOL CALLBACK Child(HWND child, LPARAM param) {
    auto& seen = *reinterpret_cast<SeenBox*>(param);
    if (Shown(child, L"Button")) seen.buttons.push_back(GetDlgCtrlID(child));
    if (!Shown(child, L"Static")) return TRUE;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      seen.information_icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) ==
                                    LoadIconW(nullptr, MAKEINTRESOURCEW(32516) /* IDI_INFORMATION */);
    } else if (GetWindowTextLengthW(child) > 0) {
      seen.lines = contract::SplitLines(WindowText(child));
    }
    return TRUE;
  }
  static BOOL CALLBACK Visit(HWND hwnd, LPARAM) {
    if (answering_ == nullptr || !Shown(hwnd, L"#32770")) return TRUE;
    SeenBox& seen = answering_->emplace_back();
    seen.title = WindowText(hwnd);
    seen.owner = GetWindow(hwnd, GW_OWNER);
    seen.owner_enabled = IsWindowEnabled(seen.owner);
    EnumChildWindows(hwnd, Child, reinterpret_cast<LPARAM>(&seen));
    seen.only_ok_button = seen.buttons == std::vector<int>{IDOK};
    SendMessageW(hwnd, WM_COMMAND, IDOK, 0);  // OK, even where the box lacks it (failing the check above)
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), Visit, 0); }

  static inline thread_local std::vector<SeenBox>* answering_ = nullptr;
  const FormSpec* spec_ = nullptr;
  std::unique_ptr<Win32Form> form_;
  std::vector<SeenBox> seen_;
};

}  // namespace pigmo::runtime::win32::testing
