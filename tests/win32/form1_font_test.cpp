// Form1's font, as Pigmo.exe gives it to its controls, held to the window table. A font handle means nothing to
// another process, so gui-test's probe cannot read it from the running program: it is read here, in-process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "runtime/win32/win32_form.h"
#include "window/form1_description.h"

namespace pigmo::runtime::win32 {
namespace {

TEST(Form1FontTest, EveryControlButTheSwatchShowsVerdanaBoldAtElevenPixels) {
  Win32Form form(window::Form1Description(), GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
  ASSERT_EQ(form.Dpi(), 96u);
  // Where Verdana is not installed (Wine has none), the fallback family stands in.
  const std::wstring face = FaceInstalled("Verdana") ? L"Verdana" : L"DejaVu Sans";
  for (const char* name : {"Text1", "Text2", "Text3", "Text8", "Text4", "Text5", "Text6", "Text9", "Text7", "Label1",
                           "Label2", "Label3", "Label5", "Command1"}) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.ControlHandle(name), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(std::tuple(std::wstring(lf.lfFaceName), lf.lfHeight, lf.lfWeight, lf.lfItalic, lf.lfUnderline,
                         lf.lfStrikeOut, lf.lfCharSet),
              std::tuple(face, -11L, 700L, BYTE{0}, BYTE{0}, BYTE{0}, BYTE{ANSI_CHARSET}))
        << name;
  }
  EXPECT_EQ(SendMessageW(form.ControlHandle("Label4"), WM_GETFONT, 0, 0), 0);  // the swatch shows no text
}

}  // namespace
}  // namespace pigmo::runtime::win32
