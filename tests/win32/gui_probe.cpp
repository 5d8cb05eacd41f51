// Reads a running Pigmo.exe from another process for gui-test, and drives it as a keyboard and mouse do (SendInput):
//   gui_probe            each text box ("Text1 255"), the swatch's painted colour as 0xBBGGRR ("Label4 FFFFFF") and
//                        the focused control ("focus Text1")
//   gui_probe look       the caption and client size, then each control: its rectangle in the client area, "ro" for
//                        a read-only box, its text (not its font: a font handle means nothing to another process)
//   gui_probe keys K...  "Tab" or "BackTab" (then prints "FROM TEXT -> TO"), or characters to type
//   gui_probe about      presses Command1 (which must have the focus) with Space, describes the message box (its
//                        icon is read in-process: the contract suite), answers it with Enter
// Exits 1 while there is no window, 2 when the window does not react.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/win32/win32_form.h"
#include "window/form1_description.h"

namespace {

HWND window = nullptr;
std::vector<std::pair<std::string, HWND>> controls;  // the description's names and the running window's controls

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

std::string Text(HWND hwnd) {
  wchar_t text[256] = {};  // WM_GETTEXT is carried across processes by the system
  SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return Utf8(text);
}

HWND Named(std::string_view wanted) {
  const auto it = std::ranges::find(controls, wanted, &std::pair<std::string, HWND>::first);
  return it != controls.end() ? it->second : nullptr;
}

std::string NameOf(HWND hwnd) {
  const auto it = std::ranges::find(controls, hwnd, &std::pair<std::string, HWND>::second);
  return it != controls.end() ? it->first : "(none)";
}

bool IsClass(HWND hwnd, const wchar_t* window_class) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return _wcsicmp(name, window_class) == 0;
}

HWND Focus() {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  return thread.hwndFocus;
}

// Waits up to five seconds for `done`.
template <class Done>
bool WaitFor(Done done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return false;
}

void Press(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void Stroke(WORD key, bool shift = false) {
  if (shift) Press(VK_SHIFT, false);
  Press(key, false);
  Press(key, true);
  if (shift) Press(VK_SHIFT, true);
}

void Look() {
  RECT client{};
  GetClientRect(window, &client);
  std::printf("window %s %ld %ld\n", Text(window).c_str(), client.right, client.bottom);
  for (const auto& [name, hwnd] : controls) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    const bool read_only = IsClass(hwnd, L"Edit") && (GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_READONLY);
    std::printf("%s %ld %ld %ld %ld %s \"%s\"\n", name.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                read_only ? "ro" : "-", Text(hwnd).c_str());
  }
}

int Keys(int argc, wchar_t** argv) {
  SetForegroundWindow(window);
  for (int i = 2; i < argc; ++i) {
    const std::wstring key = argv[i];
    if (key != L"Tab" && key != L"BackTab") {
      for (const wchar_t c : key) Stroke(static_cast<WORD>(LOBYTE(VkKeyScanW(c))));
      continue;
    }
    HWND from = Focus();
    Stroke(VK_TAB, key == L"BackTab");
    const bool moved = WaitFor([&] { return Focus() != from; });
    std::printf("%s %s -> %s\n", NameOf(from).c_str(), Text(from).c_str(), moved ? NameOf(Focus()).c_str() : "(stuck)");
    if (!moved) return 2;
  }
  return 0;
}

HWND MessageBoxOf(HWND owner) {
  for (HWND box = FindWindowW(L"#32770", nullptr); box != nullptr;
       box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    if (IsWindowVisible(box) && GetWindow(box, GW_OWNER) == owner) return box;
  }
  return nullptr;
}

int About() {
  // Space presses the focused button. A mouse click would be the user's way, but under Wine a pointer moved by
  // another process can be moved back by the X server before the press arrives.
  if (Focus() != Named("Command1")) {
    std::printf("about: the focus is in %s, not in Command1\n", NameOf(Focus()).c_str());
    return 2;
  }
  SetForegroundWindow(window);
  Stroke(VK_SPACE);
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = MessageBoxOf(window)) != nullptr; })) {
    std::printf("about: no message box owned by the window\n");
    return 2;
  }
  std::printf("about title %s\n", Text(box).c_str());
  std::string text = Text(GetDlgItem(box, 0xFFFF)) + "\r\n";  // the standard box's text, a line at a time
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos; text.erase(0, at + 2)) {
    std::printf("about line \"%s\"\n", text.substr(0, at).c_str());
  }
  for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsClass(c, L"Button") && IsWindowVisible(c)) std::printf("about button %s\n", Text(c).c_str());
  }
  std::printf("about window %s\n", IsWindowEnabled(window) ? "enabled" : "disabled");
  SetForegroundWindow(box);
  Stroke(VK_RETURN);
  const bool closed = WaitFor([&] { return MessageBoxOf(window) == nullptr && IsWindowEnabled(window); });
  std::printf("about %s\n", closed ? "closed by Enter" : "still open after Enter");
  return closed ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto& description = pigmo::window::Form1Description();
  window = FindWindowW(L"PigmoWindow", L"Pigmo");
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  for (const auto& c : description.controls) {
    controls.emplace_back(c.name, GetDlgItem(window, *pigmo::runtime::win32::ControlId(description, c.name)));
  }
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"look") return Look(), 0;
  if (mode == L"keys") return Keys(argc, argv);
  if (mode == L"about") return About();
  for (const auto& [name, control] : controls) {
    if (IsClass(control, L"Edit")) std::printf("%s %s\n", name.c_str(), Text(control).c_str());
    if (control == Focus()) std::printf("focus %s\n", name.c_str());
  }
  RECT r{};
  GetWindowRect(Named("Label4"), &r);
  HDC screen = GetDC(nullptr);
  std::printf("Label4 %06lX\n", GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
  ReleaseDC(nullptr, screen);
  return 0;
}
