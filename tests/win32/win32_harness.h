// The contract suite's harness for the Win32 backend. The user's input goes
// through the program's message loop: keystrokes are posted to the edit
// control as the messages TranslateMessage makes of them (WM_CHAR, with the
// control characters of Ctrl+V, Ctrl+X, Ctrl+C and Ctrl+Z for the clipboard
// and undo keys), and each is dispatched through the form's keyboard
// interface. Message boxes are answered by pressing their OK button from
// inside their modal loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/contract/harness.h"
#include "win32/win32_test_support.h"

namespace pigmo::runtime::win32::testing {

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
