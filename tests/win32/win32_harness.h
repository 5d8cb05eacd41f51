// The contract suite's harness for the Win32 backend. Keys are posted (Ctrl+V, X, C and Z as the characters
// TranslateMessage makes of them) and dispatched through the form's keyboard interface, as the message loop does.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

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

// A visible window of this class.
inline bool Shown(HWND hwnd, const wchar_t* window_class) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return _wcsicmp(name, window_class) == 0 && IsWindowVisible(hwnd);
}

class Win32Harness final : public contract::Harness {
 public:
  Form& Build(const FormSpec& description) override {
    form_.reset();
    form_ = std::make_unique<Win32Form>(description, GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
    return *form_;
  }
  void Show() override {
    form_->Show();
    Pump();  // Show sets the focus on this very thread: no waiting
  }
  bool WindowOpen() override { return form_ && IsWindowVisible(form_->Handle()); }
  void Type(std::string_view box, std::u16string_view keys) override {
    for (char16_t c : keys) Post(Handle(box), WM_CHAR, c, 1);
  }
  void Paste(std::string_view box, std::u16string_view clip) override {
    SetClipboard(clip);
    Type(box, u"\x16");
  }
  void Select(std::string_view box, std::int32_t start, std::int32_t length) override {
    SendMessageW(Handle(box), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
  }
  std::int32_t SelectionLength(std::string_view box) override {
    DWORD start = 0, end = 0;  // in order, whichever end the caret is at
    SendMessageW(Handle(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<std::int32_t>(end - start);
  }
  void Backspace(std::string_view box) override { Key(Handle(box), VK_BACK); }
  void Delete(std::string_view box) override { Key(Handle(box), VK_DELETE); }
  std::u16string Cut(std::string_view box) override { return ClipboardAfter(box, u"\x18"); }
  std::u16string Copy(std::string_view box) override { return ClipboardAfter(box, u"\x03"); }
  void Undo(std::string_view box) override { Type(box, u"\x1A"); }
  void Click(std::string_view button) override {
    answering_ = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, Answer);
    PostMessageW(Handle(button), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    Post(Handle(button), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    KillTimer(nullptr, timer);
  }
  std::vector<contract::ShownMessage> Messages() override { return messages_; }

 private:
  // The release goes where the press left the focus.
  void Key(HWND to, UINT key) {
    Post(to, WM_KEYDOWN, key, 1);
    Post(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  }
  HWND Handle(std::string_view name) const { return form_->ControlHandle(name); }
  void Post(HWND to, UINT message, WPARAM w, LPARAM l) {
    PostMessageW(to, message, w, l);
    Pump();
  }
  void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (form_ && form_->PreTranslateMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  static void SetClipboard(std::u16string_view text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(char16_t));
    text.copy(static_cast<char16_t*>(GlobalLock(memory)), text.size());
    GlobalUnlock(memory);
    EXPECT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory));
    CloseClipboard();
  }
  std::u16string ClipboardAfter(std::string_view box, std::u16string_view key) {
    SetClipboard(u"");
    Type(box, key);
    EXPECT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = static_cast<const char16_t*>(GlobalLock(data));
    std::u16string copied = text != nullptr ? text : u"";
    GlobalUnlock(data);
    CloseClipboard();
    return copied;
  }

  // Records a modal message box and presses OK, even where the box lacks it (failing only_ok_button).
  static void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!IsWindowVisible(box)) return;
    EXPECT_EQ(GetWindow(box, GW_OWNER), answering_->form_->Handle());  // so the system keeps the window disabled
    contract::ShownMessage& seen = answering_->messages_.emplace_back();
    seen.title = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, 0xFFFF));  // the standard box's text
    // The icon's control ID differs between Windows and Wine.
    const auto information = reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_INFORMATION));
    int buttons = 0;
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
      seen.information_icon |= SendMessageW(c, STM_GETICON, 0, 0) == information;
      buttons += Shown(c, L"Button");
    }
    seen.only_ok_button = buttons == 1 && GetDlgItem(box, IDOK) != nullptr;
    SendMessageW(box, WM_COMMAND, IDOK, 0);
  }

  static inline Win32Harness* answering_ = nullptr;
  std::unique_ptr<Win32Form> form_;
  std::vector<contract::ShownMessage> messages_;
};

}  // namespace pigmo::runtime::win32::testing
