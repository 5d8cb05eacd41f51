// The Win32 backend on real controls, beyond the shared runtime contract:
// the window, its controls, fonts and colours as the description asks, the
// traps of the Win32 controls themselves, and one typed smoke run of Form1.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/locale.h"
#include "win32/win32_harness.h"
#include "window/form1.h"

namespace pigmo::runtime::win32 {
namespace {

using testing::WindowText;
using window::Form1Description;

RECT RectIn(HWND parent, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LOGFONTW FontOf(HWND hwnd) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

class Win32FormTest : public ::testing::Test {
 protected:
  Win32FormTest() : form(static_cast<Win32Form&>(harness.Build(Form1Description()))) {
    UnhandledErrors().Clear();
    harness.Show();
  }
  HWND Control(std::string_view name) const { return form.ControlHandle(name); }
  void ExpectLayoutAt(UINT dpi) {
    for (const ControlSpec& c : Form1Description().controls) {
      SCOPED_TRACE(std::string(c.name));
      const RECT r = RectIn(form.Handle(), Control(c.name));
      EXPECT_EQ(r.left, TwipsToPixels(c.bounds.left, dpi));
      EXPECT_EQ(r.top, TwipsToPixels(c.bounds.top, dpi));
      EXPECT_EQ(r.right - r.left, TwipsToPixels(c.bounds.width, dpi));
      EXPECT_EQ(r.bottom - r.top, TwipsToPixels(c.bounds.height, dpi));
    }
    EXPECT_EQ(FontOf(Control("Text7")).lfHeight, -std::lround(8.25 * dpi / 72.0));
  }

  testing::Win32Harness harness;
  Win32Form& form;
};

// ------------------------------------------------------------ the window

TEST_F(Win32FormTest, FixedCentredTopLevelWindowWithCaptionAndCloseBoxOnly) {
  const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(WindowText(form.Handle()), u"Pigmo");
  EXPECT_EQ(GetParent(form.Handle()), nullptr);
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), nullptr);  // so it has a task-bar button
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
  EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
}

// The pixels of an icon, drawn into a 32-bit bitmap of the given size.
std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(p, p + size * size);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return pixels;
}

// This test program carries Pigmo.exe's resources, icon included.
TEST_F(Win32FormTest, TitleBarAndTaskBarShowTheProgramsIcon) {
  for (auto [kind, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    SCOPED_TRACE(kind == ICON_BIG ? "big" : "small");
    const int size = GetSystemMetrics(metric);
    const auto shown = reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, kind, 0));
    ASSERT_NE(shown, nullptr);
    HICON own = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(IconPixels(shown, size), IconPixels(own, size));
    EXPECT_NE(IconPixels(shown, size), IconPixels(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)), size));
    DestroyIcon(own);
  }
}

TEST_F(Win32FormTest, ControlsAreOfTheirKindWithTheDescribedPlacesFlagsAndFont) {
  ASSERT_EQ(form.Dpi(), USER_DEFAULT_SCREEN_DPI);
  ExpectLayoutAt(USER_DEFAULT_SCREEN_DPI);
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(Form1Description().client_width, USER_DEFAULT_SCREEN_DPI));
  EXPECT_EQ(client.bottom, TwipsToPixels(Form1Description().client_height, USER_DEFAULT_SCREEN_DPI));
  EXPECT_EQ(client.right, 243);
  EXPECT_EQ(client.bottom, 237);
  for (const ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    HWND hwnd = Control(c.name);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(WindowText(hwnd), c.text);
    EXPECT_TRUE(IsWindowVisible(hwnd) && IsWindowEnabled(hwnd));
    EXPECT_EQ(GetDlgCtrlID(hwnd), ControlId(Form1Description(), c.name));
    switch (c.kind) {
      case ControlKind::kTextBox:
        EXPECT_STREQ(cls, L"Edit");
        EXPECT_EQ(style & (WS_TABSTOP | ES_READONLY | ES_MULTILINE), WS_TABSTOP | (c.read_only ? ES_READONLY : 0));
        EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        break;
      case ControlKind::kLabel:
        EXPECT_STREQ(cls, L"Static");
        EXPECT_EQ(style & (WS_TABSTOP | SS_NOPREFIX), SS_NOPREFIX);
        break;
      case ControlKind::kButton:
        EXPECT_STREQ(cls, L"Button");
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);  // not BS_DEFPUSHBUTTON
        break;
    }
    if (!c.uses_font) {
      EXPECT_EQ(SendMessageW(hwnd, WM_GETFONT, 0, 0), 0);
      continue;
    }
    const LOGFONTW lf = FontOf(hwnd);
    // Wine has no Verdana: the description's fallback family stands in.
    EXPECT_STREQ(lf.lfFaceName, FaceInstalled("Verdana") ? L"Verdana" : L"DejaVu Sans");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfHeight, -11);  // 8.25 pt at 96 dpi
    EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
  }
}

TEST_F(Win32FormTest, MovingToAMonitorWithAnotherScaleScalesLayoutAndFont) {
  RECT suggested{};
  GetWindowRect(form.Handle(), &suggested);
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.Dpi(), 144u);
  ExpectLayoutAt(144);
}

// ----------------------------------------------------------------- colours

// The colours a control paints with, as the window answers its WM_CTLCOLOR*
// question (read-only edit controls ask WM_CTLCOLORSTATIC, like labels).
struct Painted {
  COLORREF text, back, brush;
};
Painted AskColours(Win32Form& form, HWND hwnd, bool editable) {
  HDC dc = GetDC(hwnd);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(form.Handle(), editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  Painted p{GetTextColor(dc), GetBkColor(dc), CLR_INVALID};
  LOGBRUSH lb{};
  if (brush != nullptr && GetObjectW(brush, sizeof lb, &lb) == sizeof lb) p.brush = lb.lbColor;
  ReleaseDC(hwnd, dc);
  return p;
}

TEST_F(Win32FormTest, ControlsPaintTheirDescribedColoursReadOnlyBoxesOnTheWindowBackground) {
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.kind == ControlKind::kButton) continue;
    SCOPED_TRACE(std::string(c.name));
    const bool box = c.kind == ControlKind::kTextBox;
    const Painted p = AskColours(form, Control(c.name), box && !c.read_only);
    EXPECT_EQ(p.text, c.fore_colour ? static_cast<COLORREF>(*c.fore_colour) : GetSysColor(COLOR_WINDOWTEXT));
    const COLORREF back = box ? GetSysColor(COLOR_WINDOW)
                              : c.back_colour ? static_cast<COLORREF>(*c.back_colour) : GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(p.back, back);
    EXPECT_EQ(p.brush, back);
  }
}

TEST_F(Win32FormTest, SwatchIsPaintedInItsColourWithRedInTheLowByte) {
  form.LabelNamed("Label4").SetBackColour(0x00336699u);
  HWND swatch = Control("Label4");
  EXPECT_EQ(AskColours(form, swatch, false).brush, RGB(0x99, 0x66, 0x33));
  RECT r{};
  GetClientRect(swatch, &r);
  // Drawn into a bitmap of our own rather than read from the screen.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(swatch, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(GetPixel(dc, r.right / 2, r.bottom / 2), RGB(0x99, 0x66, 0x33));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// ------------------------------------------------------ Win32's own traps

// The dialog manager sends IDOK and IDCANCEL for Enter and Escape.
TEST_F(Win32FormTest, EnterAndEscapePressNothingButSpacePressesTheFocusedButton) {
  int clicks = 0;
  auto sub = form.ButtonNamed("Command1").OnClick([&] { ++clicks; });
  for (const char* where : {"Text1", "Command1", "Text7"}) {
    SCOPED_TRACE(where);
    SetFocus(Control(where));
    testing::PressKey(form, VK_RETURN);
    testing::PressKey(form, VK_ESCAPE);
    EXPECT_TRUE(harness.WindowOpen());
    EXPECT_EQ(harness.Focused(), where);
  }
  EXPECT_EQ(clicks, 0);
  SetFocus(Control("Command1"));
  testing::PressKey(form, VK_SPACE);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Win32FormTest, EditControlTrapsStayHidden) {
  auto box = form.TextBoxNamed("Text7");
  std::vector<std::u16string> seen;
  auto sub = box->OnChange([&] { seen.push_back(box->Text()); });
  // EN_CHANGE comes even when a typed character replaces its own copy.
  harness.Select("Text7", 1, 1);
  harness.Type("Text7", u"1");
  // A case-blind or width-blind comparison would miss these changes.
  box->SetText(u"abc");
  box->SetText(u"ABC");
  box->SetText(u"\uFF21BC");
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"abc", u"ABC", u"\uFF21BC"}));
  // The edit control's own default limit (30,000 characters) is not the box's.
  const std::u16string longer(40000, u'7');
  harness.Select("Text7", 0, 3);
  harness.Paste("Text7", longer);
  EXPECT_EQ(box->Text(), longer);
}

TEST_F(Win32FormTest, BoxOutlivingItsWindowKeepsItsText) {
  std::shared_ptr<TextBox> box;
  {
    Win32Form other(Form1Description(), GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
    box = other.TextBoxNamed("Text8");
    box->SetText(u"42");
  }
  EXPECT_EQ(box->Text(), u"42");
  int events = 0;
  auto sub = box->OnChange([&] { ++events; });
  box->SetText(u"42");
  box->SetText(u"43");
  EXPECT_EQ(events, 1);
  EXPECT_EQ(box->Text(), u"43");
}

TEST_F(Win32FormTest, InfoIsModalAndOwnedByTheWindow) {
  std::vector<testing::SeenMessageBox> seen;
  {
    testing::MessageBoxAnswerer answerer(&seen);
    form.ShowInfo(window::AboutText(), window::AboutTitle());
  }
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, form.Handle());
  EXPECT_FALSE(seen[0].owner_enabled);  // the window takes no input meanwhile
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
}

// ------------------------------------------------------------ Form1, typed

TEST_F(Win32FormTest, TypingARedChannelUpdatesTheArrayAndTheSwatch) {
  window::Form1 handlers(form, Locale::Named("en_US"));
  harness.Type("Text1", u"128");  // Text1 starts focused with its text selected
  EXPECT_EQ(form.TextBoxNamed("Text4")->Text(), u"0.5020");
  EXPECT_EQ(WindowText(Control("Text7")), u"[0.5020,1,1,1]");
  EXPECT_EQ(form.LabelNamed("Label4").BackColour(), 0x00FFFF80u);
  EXPECT_EQ(UnhandledErrors().Count(), 0u);
}

}  // namespace
}  // namespace pigmo::runtime::win32
