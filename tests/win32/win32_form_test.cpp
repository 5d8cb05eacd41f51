// The Win32 backend: the shared contract, then Form1's window at two scales and the traps of Win32's own controls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/contract/contract_tests.h"
#include "win32/win32_harness.h"
#include "window/form1_description.h"

namespace pigmo::runtime::contract {
using Win32Backend = ::testing::Types<win32::testing::Win32Harness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RuntimeContract, Win32Backend);
}  // namespace pigmo::runtime::contract

namespace pigmo::runtime::win32 {
namespace {

using testing::WindowText;
using window::Form1Description;
using Font = std::tuple<std::wstring, LONG, LONG, BYTE, BYTE, BYTE, BYTE>;  // face, height, weight, flags, charset

LONG Px(int twips, UINT dpi) { return std::lround(twips * dpi / 1440.0); }

Font FontOf(HWND hwnd) {
  LOGFONTW lf{};  // all zero where the control has no font of its own
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return {lf.lfFaceName, lf.lfHeight, lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet};
}

// What a control paints with (text, background, brush), as the window answers its WM_CTLCOLOR* question.
std::array<COLORREF, 3> AskColours(HWND window, HWND control, UINT question) {
  HDC dc = GetDC(control);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  LOGBRUSH brush{BS_NULL, CLR_INVALID, 0};
  const auto answer = SendMessageW(window, question, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  GetObjectW(reinterpret_cast<HBRUSH>(answer), sizeof brush, &brush);
  const std::array<COLORREF, 3> painted{GetTextColor(dc), GetBkColor(dc), brush.lbColor};
  ReleaseDC(control, dc);
  return painted;
}

class Win32FormTest : public ::testing::Test {
 protected:
  Win32FormTest() : form(static_cast<Win32Form&>(harness.Build(Form1Description()))) { harness.Show(); }

  testing::Win32Harness harness;
  Win32Form& form;
};

// A fixed, centred, unowned window (so it has a task-bar button) with the program's own icon in each size: this test
// program carries Pigmo.exe's resources. Then each control at 96 dpi and after a move to a monitor of 144.
TEST_F(Win32FormTest, WindowAndControlsAsDescribedAtEachScale) {
  const FormSpec& d = Form1Description();
  const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(WindowText(form.Handle()), d.caption);
  EXPECT_EQ(GetAncestor(form.Handle(), GA_ROOTOWNER), form.Handle());
  RECT window{}, client{};
  GetWindowRect(form.Handle(), &window);
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(Px(d.client_width, 96), Px(d.client_height, 96)));
  RECT work{};  // of the primary monitor, the only one here
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
  EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
  for (auto [kind, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, kind, 0));
    ICONINFO info{};
    BITMAP bitmap{};
    ASSERT_TRUE(icon != LoadIconW(nullptr, IDI_APPLICATION) && GetIconInfo(icon, &info));
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(metric));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  // Per kind: class, the style bits that matter and their values (a read-only box adds ES_READONLY).
  const std::map<ControlKind, std::tuple<const wchar_t*, LONG_PTR, LONG_PTR>> kinds = {
      {ControlKind::kTextBox, {L"Edit", WS_TABSTOP | ES_READONLY | ES_MULTILINE, WS_TABSTOP}},
      {ControlKind::kLabel, {L"Static", WS_TABSTOP | SS_NOPREFIX, SS_NOPREFIX}},
      {ControlKind::kButton, {L"Button", WS_TABSTOP | BS_TYPEMASK, WS_TABSTOP | BS_PUSHBUTTON}}};  // not the default
  // Wine has no Verdana: the description's fallback family stands in.
  const std::string_view face = FaceInstalled(d.font.face) ? d.font.face : d.font.fallback_family;
  for (const UINT dpi : {96u, 144u}) {
    if (dpi > 96) SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
    const Font font{std::wstring(face.begin(), face.end()),
                    -std::lround(d.font.points * dpi / 72.0),
                    d.font.weight,
                    d.font.italic,
                    d.font.underline,
                    d.font.strikeout,
                    ANSI_CHARSET};
    for (const ControlSpec& c : d.controls) {
      SCOPED_TRACE(::testing::Message() << c.name << " at " << dpi << " dpi");
      HWND hwnd = form.ControlHandle(c.name);
      const bool box = c.kind == ControlKind::kTextBox;
      const auto& [window_class, mask, flags] = kinds.at(c.kind);
      EXPECT_TRUE(testing::Shown(hwnd, window_class) && IsWindowEnabled(hwnd));
      EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & mask, flags | (c.read_only ? ES_READONLY : 0));
      EXPECT_EQ((GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, box);
      EXPECT_EQ(WindowText(hwnd), c.text);
      EXPECT_EQ(FontOf(hwnd), c.uses_font ? font : Font{});
      RECT r{};
      GetWindowRect(hwnd, &r);
      MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
      const TwipRect& b = c.bounds;
      EXPECT_EQ((std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                (std::array{Px(b.left, dpi), Px(b.top, dpi), Px(b.width, dpi), Px(b.height, dpi)}));
      const COLORREF fore = c.fore_colour ? *c.fore_colour : GetSysColor(COLOR_WINDOWTEXT);
      const COLORREF back = box             ? GetSysColor(COLOR_WINDOW)
                            : c.back_colour ? *c.back_colour
                                            : GetSysColor(COLOR_BTNFACE);
      // Read-only boxes ask as labels do, and would be painted on the dialog face.
      const UINT question = box && !c.read_only ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
      if (c.kind == ControlKind::kButton) continue;  // painted by the system
      EXPECT_EQ(AskColours(form.Handle(), hwnd, question), (std::array{fore, back, back}));
    }
  }
}

// Each caption stands just before its box in Z order, where the system looks for the name of an edit control (Tab still
// follows the tab order: the contract suite). A caption reaches a pixel into its box's top border: the box keeps it.
TEST_F(Win32FormTest, CaptionsStandJustBeforeTheirBoxesWhichKeepTheirBorders) {
  const auto name_of = [&](HWND hwnd) {
    for (const ControlSpec& c : Form1Description().controls) {
      if (form.ControlHandle(c.name) == hwnd) return std::string(c.name);
    }
    return std::string("?");
  };
  std::vector<std::string> stacked;
  for (HWND c = GetWindow(form.Handle(), GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    stacked.push_back(name_of(c));
  }
  EXPECT_THAT(stacked,
              ::testing::ElementsAre("Label1", "Text1", "Label2", "Text2", "Label3", "Text3", "Label5", "Text8",
                                     "Text4", "Text5", "Text6", "Text9", "Text7", "Label4", "Command1"));
  for (const char* box : {"Text1", "Text2", "Text3", "Text8"}) {
    HDC dc = GetWindowDC(form.ControlHandle(box));
    EXPECT_TRUE(PtVisible(dc, 2, 0)) << box;  // where the caption reaches into the top border
    ReleaseDC(form.ControlHandle(box), dc);
  }
}

}  // namespace
}  // namespace pigmo::runtime::win32
