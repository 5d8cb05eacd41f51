// The Win32 backend: the shared runtime contract, then Form1's window and
// controls as the description places, flags, fonts and paints them, and the
// traps of Win32's own controls and dialog manager.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>

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

LOGFONTW FontOf(HWND hwnd) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

// What a control paints with (text, background, brush), as the window
// answers its WM_CTLCOLOR* question. Read-only edit controls ask
// WM_CTLCOLORSTATIC, as labels do, and would be painted on the dialog face.
std::array<COLORREF, 3> AskColours(HWND window, HWND control, UINT question) {
  HDC dc = GetDC(control);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  LOGBRUSH brush{BS_NULL, CLR_INVALID, 0};
  GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(window, question, reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(control))),
             sizeof brush, &brush);
  const std::array<COLORREF, 3> painted{GetTextColor(dc), GetBkColor(dc), brush.lbColor};
  ReleaseDC(control, dc);
  return painted;
}

class Win32FormTest : public ::testing::Test {
 protected:
  Win32FormTest() : form(static_cast<Win32Form&>(harness.Build(Form1Description()))) { harness.Show(); }
  HWND Control(std::string_view name) const { return form.ControlHandle(name); }

  testing::Win32Harness harness;
  Win32Form& form;
};

TEST_F(Win32FormTest, FixedCentredUnownedWindowWithCaptionCloseBoxAndTheProgramsIcon) {
  const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(WindowText(form.Handle()), Form1Description().caption);
  EXPECT_EQ(GetAncestor(form.Handle(), GA_ROOTOWNER), form.Handle());  // so it has a task-bar button
  RECT window{}, client{};
  GetWindowRect(form.Handle(), &window);
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, Form1Description().client_width / 15);  // 15 twips a pixel at 96 dpi
  EXPECT_EQ(client.bottom, Form1Description().client_height / 15);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
  EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
  // This test program carries Pigmo.exe's resources: its own icon, in each
  // size, stands in for the stock one.
  for (auto [kind, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, kind, 0));
    EXPECT_NE(icon, LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */));
    ICONINFO info{};
    BITMAP bitmap{};
    ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(metric));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

// Kind, flags, colours and font at 96 dpi; then place and font size there
// and after a move to a monitor of 144 dpi.
TEST_F(Win32FormTest, ControlsHaveTheirDescribedKindFlagsColoursFontAndPlaceAtEachScale) {
  for (const ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    HWND hwnd = Control(c.name);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(WindowText(hwnd), c.text);
    EXPECT_TRUE(IsWindowVisible(hwnd) && IsWindowEnabled(hwnd));
    EXPECT_EQ(GetDlgCtrlID(hwnd), ControlId(Form1Description(), c.name));
    UINT question = WM_CTLCOLORSTATIC;
    COLORREF back = c.back_colour ? static_cast<COLORREF>(*c.back_colour) : GetSysColor(COLOR_BTNFACE);
    switch (c.kind) {
      case ControlKind::kTextBox:
        EXPECT_STREQ(cls, L"Edit");
        EXPECT_EQ(style & (WS_TABSTOP | ES_READONLY | ES_MULTILINE), WS_TABSTOP | (c.read_only ? ES_READONLY : 0));
        EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        question = c.read_only ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
        back = GetSysColor(COLOR_WINDOW);
        break;
      case ControlKind::kLabel:
        EXPECT_STREQ(cls, L"Static");
        EXPECT_EQ(style & (WS_TABSTOP | SS_NOPREFIX), SS_NOPREFIX);
        break;
      case ControlKind::kButton:
        EXPECT_STREQ(cls, L"Button");
        EXPECT_EQ(style & (WS_TABSTOP | BS_TYPEMASK), WS_TABSTOP | BS_PUSHBUTTON);  // not BS_DEFPUSHBUTTON
        question = 0;
        break;
    }
    const COLORREF fore = c.fore_colour ? static_cast<COLORREF>(*c.fore_colour) : GetSysColor(COLOR_WINDOWTEXT);
    if (question != 0) {
      EXPECT_EQ(AskColours(form.Handle(), hwnd, question), (std::array{fore, back, back}));
    }
    const LOGFONTW lf = FontOf(hwnd);
    if (!c.uses_font) {
      EXPECT_EQ(SendMessageW(hwnd, WM_GETFONT, 0, 0), 0);
    } else {  // Wine has no Verdana: the description's fallback family stands in.
      EXPECT_STREQ(lf.lfFaceName, FaceInstalled("Verdana") ? L"Verdana" : L"DejaVu Sans");
      EXPECT_EQ(std::tuple(lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet),
                std::tuple(FW_BOLD, 0, 0, 0, ANSI_CHARSET));
    }
  }
  for (const UINT dpi : {96u, 144u}) {
    if (dpi != USER_DEFAULT_SCREEN_DPI) {
      RECT suggested{};
      GetWindowRect(form.Handle(), &suggested);
      SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    ASSERT_EQ(form.Dpi(), dpi);
    for (const ControlSpec& c : Form1Description().controls) {
      SCOPED_TRACE(std::string(c.name));
      RECT r{};
      GetWindowRect(Control(c.name), &r);
      MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ((std::array<long, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                (std::array<long, 4>{TwipsToPixels(c.bounds.left, dpi), TwipsToPixels(c.bounds.top, dpi),
                                     TwipsToPixels(c.bounds.width, dpi), TwipsToPixels(c.bounds.height, dpi)}));
    }
    EXPECT_EQ(FontOf(Control("Text7")).lfHeight, -std::lround(8.25 * dpi / 72.0));  // -11 at 96 dpi
  }
}

// The dialog manager sends IDOK and IDCANCEL for Enter and Escape; Space
// presses the focused button, whose About box is modal and owned.
TEST_F(Win32FormTest, EnterAndEscapePressNothingSpacePressesTheButtonAndItsBoxIsModal) {
  int clicks = 0;
  auto sub = form.ButtonNamed("Command1").OnClick([&] { ++clicks; });
  for (const char* where : {"Text1", "Command1", "Text7"}) {
    SCOPED_TRACE(where);
    SetFocus(Control(where));
    harness.Key(Control(where), VK_RETURN);
    harness.Key(Control(where), VK_ESCAPE);
    EXPECT_TRUE(harness.WindowOpen());
    EXPECT_EQ(harness.Focused(), where);
  }
  EXPECT_EQ(clicks, 0);
  SetFocus(Control("Command1"));
  harness.Key(Control("Command1"), VK_SPACE);
  EXPECT_EQ(clicks, 1);
  auto about = form.ButtonNamed("Command1").OnClick([&] { form.ShowInfo(window::AboutText(), window::AboutTitle()); });
  harness.Click("Command1");
  ASSERT_EQ(harness.Seen().size(), 1u);
  EXPECT_EQ(harness.Seen()[0].owner, form.Handle());
  EXPECT_FALSE(harness.Seen()[0].owner_enabled);  // the window takes no input meanwhile
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
}

// A case-blind or width-blind comparison would miss the changes; the edit
// control's own default limit (32,767 characters; 30,000 in Wine) is not
// the box's; once its edit control is gone, the box keeps the text itself.
TEST_F(Win32FormTest, EditControlTrapsStayHiddenAndTheBoxOutlivesItsWindow) {
  const std::shared_ptr<TextBox> box = form.TextBoxNamed("Text7");
  int events = 0;
  auto sub = box->OnChange([&] { ++events; });
  for (const std::u16string text : {u"abc", u"ABC", u"\uFF21BC", u"ABC"}) box->SetText(text);
  EXPECT_EQ(events, 4);
  const std::u16string longer(33000, u'7');
  harness.Select("Text7", 0, 3);
  harness.Paste("Text7", longer);
  EXPECT_EQ(box->Text(), longer);
  harness.Build(Form1Description());
  box->SetText(longer);
  EXPECT_EQ(events, 5);
  box->SetText(u"43");
  EXPECT_EQ(events, 6);
  EXPECT_EQ(box->Text(), u"43");
}

}  // namespace
}  // namespace pigmo::runtime::win32
