// Looks at a running Pigmo.exe from another process, for the GUI test that
// types into it from outside (X keystrokes through Wine). Each command
// prints what it found and exits non-zero when a check fails:
//
//   ready                 wait for the window, then check its focus and swatch
//   expect NAME TEXT      wait until control NAME shows TEXT (UTF-8)
//   expect-pixel NAME RGB wait until the middle of NAME shows 0xBBGGRR
//   where NAME            print the middle of NAME in screen coordinates
//   infobox               wait for the About message box and check it
//   no-infobox            check that no message box is open
//
// Waiting polls with a deadline: the keystrokes travel through the X server
// and Wine, so the probe cannot know when they have arrived.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/win32/win32_form.h"
#include "window/form1_description.h"

namespace {

using pigmo::runtime::win32::ControlId;
using pigmo::window::Form1Description;

constexpr DWORD kPatienceMs = 30000;

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT is carried across processes by the system.
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

HWND FindPigmo() { return FindWindowW(L"PigmoWindow", L"Pigmo"); }

HWND Control(HWND window, std::string_view name) {
  const auto id = ControlId(Form1Description(), name);
  return id ? GetDlgItem(window, *id) : nullptr;
}

template <typename Test>
bool WaitFor(Test test) {
  const DWORD start = GetTickCount();
  while (!test()) {
    if (GetTickCount() - start > kPatienceMs) return false;
    Sleep(50);
  }
  return true;
}

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

COLORREF PixelAt(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return c;
}

struct FoundBox {
  DWORD process = 0;
  HWND box = nullptr;
};

BOOL CALLBACK FindInfoBox(HWND hwnd, LPARAM param) {
  auto* found = reinterpret_cast<FoundBox*>(param);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == found->process && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
    found->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND InfoBox(HWND window) {
  FoundBox found;
  GetWindowThreadProcessId(window, &found.process);
  EnumWindows(FindInfoBox, reinterpret_cast<LPARAM>(&found));
  return found.box;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Static") == 0) {
    std::wstring text = TextOf(child);
    if (!text.empty()) *reinterpret_cast<std::wstring*>(param) = text;
  }
  return TRUE;
}

int Ready() {
  HWND window = nullptr;
  if (!WaitFor([&] { return (window = FindPigmo()) != nullptr && IsWindowVisible(window); })) {
    Check(false, "a window \"Pigmo\" appears");
    return 1;
  }
  Check(WaitFor([&] { return FocusOf(window) == Control(window, "Text1"); }), "the focus is in Text1");
  const auto selection = static_cast<DWORD>(SendMessageW(Control(window, "Text1"), EM_GETSEL, 0, 0));
  Check(LOWORD(selection) == 0 && HIWORD(selection) == 3, "Text1's text is selected");
  Check(PixelAt(Control(window, "Label4")) == RGB(255, 255, 255), "the swatch is white");
  return failures == 0 ? 0 : 1;
}

int Expect(std::string_view name, std::string_view text) {
  HWND window = FindPigmo();
  HWND control = window ? Control(window, name) : nullptr;
  const std::wstring wanted = Wide(text);
  const bool ok = control != nullptr && WaitFor([&] { return TextOf(control) == wanted; });
  Check(ok, std::string(name) + " shows \"" + Utf8(control ? TextOf(control) : L"?") + "\", expected \"" +
                std::string(text) + "\"");
  return ok ? 0 : 1;
}

int ExpectPixel(std::string_view name, std::string_view rgb) {
  HWND window = FindPigmo();
  HWND control = window ? Control(window, name) : nullptr;
  const auto wanted = static_cast<COLORREF>(std::strtoul(std::string(rgb).c_str(), nullptr, 16));
  const bool ok = control != nullptr && WaitFor([&] { return PixelAt(control) == wanted; });
  char shown[16];
  std::snprintf(shown, sizeof shown, "0x%06lX", control ? static_cast<unsigned long>(PixelAt(control)) : 0ul);
  Check(ok, std::string(name) + " is painted " + shown + ", expected " + std::string(rgb));
  return ok ? 0 : 1;
}

int Where(std::string_view name) {
  HWND window = FindPigmo();
  HWND control = window ? Control(window, name) : nullptr;
  if (control == nullptr) return 1;
  RECT r{};
  GetWindowRect(control, &r);
  std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return 0;
}

int Infobox() {
  HWND window = FindPigmo();
  HWND box = nullptr;
  if (window == nullptr || !WaitFor([&] { return (box = InfoBox(window)) != nullptr; })) {
    Check(false, "a message box opens");
    return 1;
  }
  Check(TextOf(box) == L"Info", "titled \"Info\"");
  std::wstring text;
  EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
  const auto about = pigmo::window::AboutText();
  Check(text == std::wstring(about.begin(), about.end()), "the About text with CR LF line breaks");
  Check(GetWindow(box, GW_OWNER) == window, "owned by the window");
  Check(!IsWindowEnabled(window), "the window takes no input while it is open");
  return failures == 0 ? 0 : 1;
}

int NoInfobox() {
  HWND window = FindPigmo();
  const bool ok = window != nullptr && WaitFor([&] { return InfoBox(window) == nullptr && IsWindowEnabled(window); });
  Check(ok, "no message box is open and the window takes input");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "ready") return Ready();
  if (command == "expect" && argc == 4) return Expect(argv[2], argv[3]);
  if (command == "expect-pixel" && argc == 4) return ExpectPixel(argv[2], argv[3]);
  if (command == "where" && argc == 3) return Where(argv[2]);
  if (command == "infobox") return Infobox();
  if (command == "no-infobox") return NoInfobox();
  std::fprintf(stderr, "usage: gui_probe ready|expect NAME TEXT|expect-pixel NAME RGB|where NAME|infobox|no-infobox\n");
  return 2;
}
