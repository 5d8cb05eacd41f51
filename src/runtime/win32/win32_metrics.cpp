#include "runtime/win32/win32_metrics.h"

namespace pigmo::runtime::win32 {

namespace {

// Per-monitor DPI functions exist from Windows 10 (1607) on; older systems
// get the system DPI and the classic frame metrics.
struct DpiApi {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  GetDpiForWindowFn get_dpi_for_window = nullptr;
  AdjustForDpiFn adjust_window_rect_ex_for_dpi = nullptr;

  static const DpiApi& Get() {
    static const DpiApi api = [] {
      DpiApi a;
      if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        a.get_dpi_for_window =
            reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
        a.adjust_window_rect_ex_for_dpi = reinterpret_cast<AdjustForDpiFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
      }
      return a;
    }();
    return api;
  }
};

// The first icon group in the program's resources, whatever its id.
BOOL CALLBACK TakeFirstIconName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* out = reinterpret_cast<LPCWSTR*>(param);
  *out = IS_INTRESOURCE(name) ? name : nullptr;  // string names are not used here
  return FALSE;
}

}  // namespace

UINT DpiOf(HWND hwnd) {
  const DpiApi& api = DpiApi::Get();
  if (api.get_dpi_for_window != nullptr) {
    if (const UINT dpi = api.get_dpi_for_window(hwnd); dpi != 0) return dpi;
  }
  HDC dc = GetDC(hwnd);
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
  if (dc != nullptr) ReleaseDC(hwnd, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

SIZE WindowSizeForDpi(const FormSpec& description, UINT dpi, DWORD style, DWORD ex_style) {
  RECT rect{0, 0, TwipsToPixels(description.client_width, dpi), TwipsToPixels(description.client_height, dpi)};
  const DpiApi& api = DpiApi::Get();
  if (api.adjust_window_rect_ex_for_dpi != nullptr) {
    api.adjust_window_rect_ex_for_dpi(&rect, style, FALSE, ex_style, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HICON LoadProgramIcon(HINSTANCE instance, int cx_metric, int cy_metric) {
  LPCWSTR name = nullptr;
  EnumResourceNamesW(instance, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, TakeFirstIconName,
                     reinterpret_cast<LONG_PTR>(&name));
  if (name != nullptr) {
    if (HANDLE icon = LoadImageW(instance, name, IMAGE_ICON, GetSystemMetrics(cx_metric), GetSystemMetrics(cy_metric),
                                 LR_DEFAULTCOLOR | LR_SHARED)) {
      return static_cast<HICON>(icon);
    }
  }
  return LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */);
}

RECT PixelRect(const TwipRect& twips, UINT dpi) {
  const int left = TwipsToPixels(twips.left, dpi);
  const int top = TwipsToPixels(twips.top, dpi);
  return RECT{left, top, left + TwipsToPixels(twips.width, dpi), top + TwipsToPixels(twips.height, dpi)};
}

}  // namespace pigmo::runtime::win32
