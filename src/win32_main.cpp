// Pigmo.exe, the Windows program: builds Form1 from its description with
// the Win32 backend, connects its handlers and runs until the window is
// closed. The program takes no command line.
#include "runtime/win32/win32_form.h"

#include <windows.h>  // first: the other Windows headers build on its types

#include <commctrl.h>

#include "runtime/locale.h"
#include "window/form1.h"
#include "window/form1_description.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using pigmo::runtime::win32::Win32Form;
  // Loads the themed controls the manifest asks for.
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    Win32Form form(pigmo::window::Form1Description(), instance, Win32Form::OnClose::kQuit);
    pigmo::window::Form1 form1(form, pigmo::runtime::Locale::FromEnvironment());
    form.Show();
    return pigmo::runtime::win32::RunMessageLoop(form);
  } catch (const std::exception&) {
    // Only the window itself can fail here (no window station, out of
    // handles); there is nothing to show it in.
    return 1;
  }
}
