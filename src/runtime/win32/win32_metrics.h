// The Win32 window's sizes in pixels for its DPI, and the program's icon:
// what the window needs from the system before it lays itself out. Only the
// backend's own sources include this header.
#pragma once

#include <windows.h>

#include "runtime/form_spec.h"

namespace pigmo::runtime::win32 {

// The window's DPI: its monitor's where the system knows per-monitor DPI,
// else the system's.
UINT DpiOf(HWND hwnd);

// The outer size of a window of `style` whose client area is the
// description's, at `dpi`.
SIZE WindowSizeForDpi(const FormSpec& description, UINT dpi, DWORD style, DWORD ex_style);

// A rectangle of the description in pixels at `dpi`.
RECT PixelRect(const TwipRect& twips, UINT dpi);

// The program's icon (its first icon group) at the size of the metrics
// given; the system's application icon where the program has none.
HICON LoadProgramIcon(HINSTANCE instance, int cx_metric, int cy_metric);

}  // namespace pigmo::runtime::win32
