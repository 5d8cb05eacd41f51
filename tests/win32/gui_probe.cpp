// Reads a running Pigmo.exe from another process, for the GUI test that
// types into it from outside: one line per text box ("Text1 255"), the
// swatch's painted colour as 0xBBGGRR ("Label4 FFFFFF") and the control
// with the keyboard focus ("focus Text1"). Exits 1 while there is no window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/win32/win32_form.h"
#include "window/form1_description.h"

using pigmo::window::Form1Description;

int main() {
  HWND window = FindWindowW(L"PigmoWindow", L"Pigmo");
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  for (const auto& c : Form1Description().controls) {
    HWND control = GetDlgItem(window, *pigmo::runtime::win32::ControlId(Form1Description(), c.name));
    const std::string name(c.name);
    if (control == thread.hwndFocus) std::printf("focus %s\n", name.c_str());
    if (c.kind == pigmo::runtime::ControlKind::kTextBox) {
      wchar_t text[64] = {};  // WM_GETTEXT is carried across processes by the system
      SendMessageW(control, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
      std::printf("%s %ls\n", name.c_str(), text);
    }
    if (name != "Label4") continue;
    RECT r{};
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    std::printf("Label4 %06lX\n", GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
    ReleaseDC(nullptr, screen);
  }
  return 0;
}
