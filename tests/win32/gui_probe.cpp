// Reads a running Pigmo.exe from another process for gui-test: each text box ("Text1 255"), the swatch's painted colour
// as 0xBBGGRR ("Label4 FFFFFF") and the focused control ("focus Text1"). Exits 1 while there is no window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/win32/win32_form.h"
#include "window/form1_description.h"

int main() {
  using pigmo::runtime::win32::ControlId;
  const auto& description = pigmo::window::Form1Description();
  HWND window = FindWindowW(L"PigmoWindow", L"Pigmo");
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  for (const auto& c : description.controls) {
    HWND control = GetDlgItem(window, *ControlId(description, c.name));
    const std::string name(c.name);
    wchar_t text[64] = {};  // WM_GETTEXT is carried across processes by the system
    SendMessageW(control, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    if (c.kind == pigmo::runtime::ControlKind::kTextBox) std::printf("%s %ls\n", name.c_str(), text);
    if (control == thread.hwndFocus) std::printf("focus %s\n", name.c_str());
  }
  RECT r{};
  GetWindowRect(GetDlgItem(window, *ControlId(description, "Label4")), &r);
  HDC screen = GetDC(nullptr);
  std::printf("Label4 %06lX\n", GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
  ReleaseDC(nullptr, screen);
}
