// The Win32 backend: the shared contract, then Form1's window at two scales and the traps of Win32's own controls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <array>
#include <cmath>
#include <cstdlib>
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

// What a screen reader hears of one control, asked as the system asks a window: its name and description, and the
// window the object answers for.
struct Heard {
  std::u16string name, description;
  HWND window = nullptr;
  bool operator==(const Heard&) const = default;
  friend void PrintTo(const Heard& h, std::ostream* os) {
    *os << ::testing::PrintToString(h.name) << ", " << ::testing::PrintToString(h.description) << ", window "
        << h.window;
  }
};

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::u16string Take(BSTR text) {
  std::u16string taken =
      text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : u"";
  SysFreeString(text);
  return taken;
}

Heard HeardOf(HWND control) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return {};
  }
  Heard heard;
  BSTR name = nullptr, description = nullptr;
  if (SUCCEEDED(object->get_accName(Self(), &name))) heard.name = Take(name);
  if (SUCCEEDED(object->get_accDescription(Self(), &description))) heard.description = Take(description);
  WindowFromAccessibleObject(object, &heard.window);
  object->Release();
  return heard;
}

std::vector<HWND> described;
void CALLBACK NoteDescribed(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) described.push_back(hwnd);
}

class Win32FormTest : public ::testing::Test {
 protected:
  Win32FormTest() : form(static_cast<Win32Form&>(harness.Build(Form1Description()))) { harness.Show(); }

  testing::Win32Harness harness;
  Win32Form& form;
};

// A fixed, centred, unowned window (so it has a task-bar button) with the program's own icon in each size: this test
// program carries Pigmo.exe's resources. Its font at 96 dpi, held to the window table (a font handle means nothing to
// another process, so gui-test, which holds the rest at 96 dpi to the table, cannot read it). Then each control after
// a move to a monitor of 144 dpi.
TEST_F(Win32FormTest, WindowAndControlsAsDescribedAfterAMoveTo144Dpi) {
  ASSERT_EQ(form.Dpi(), 96u);
  // Where Verdana is not installed (Wine has none), the fallback family stands in.
  const Font bold{FaceInstalled("Verdana") ? L"Verdana" : L"DejaVu Sans", -11, 700, 0, 0, 0, ANSI_CHARSET};
  for (const char* name : {"Text1", "Text2", "Text3", "Text8", "Text4", "Text5", "Text6", "Text9", "Text7", "Label1",
                           "Label2", "Label3", "Label5", "Command1"}) {
    EXPECT_EQ(FontOf(form.ControlHandle(name)), bold) << name;
  }
  EXPECT_EQ(FontOf(form.ControlHandle("Label4")), Font{});  // the swatch shows no text
  const FormSpec& d = Form1Description();
  const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(GetAncestor(form.Handle(), GA_ROOTOWNER), form.Handle());
  RECT window{};
  GetWindowRect(form.Handle(), &window);
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
  // The face, weight and styles do not depend on the scale; the class, style bits, borders, tab stops and colours are
  // held at 96 dpi by gui-test and the pictures.
  const UINT dpi = 144;
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
  Font scaled = bold;
  std::get<1>(scaled) = -17;  // 8.25 pt at 144 dpi
  for (const ControlSpec& c : d.controls) {
    SCOPED_TRACE(c.name);
    HWND hwnd = form.ControlHandle(c.name);
    EXPECT_EQ(FontOf(hwnd), c.uses_font ? scaled : Font{});
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    const TwipRect& b = c.bounds;
    EXPECT_EQ((std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::array{Px(b.left, dpi), Px(b.top, dpi), Px(b.width, dpi), Px(b.height, dpi)}));
  }
}

// A box with a caption is named by the system after the caption just before it in Z order (where the form puts each
// caption; its overlap into the box's border is the pictures' to check), every other control by the window; each has
// the window's description, the swatch's following its colour. The objects leave the rest to the system's, and fail
// cleanly once their window is gone.
TEST_F(Win32FormTest, ScreenReadersHearEachControlsNameAndDescription) {
  const std::u16string channel = u"Whole number from 0 to 255";
  for (const auto& [control, name, description] :
       std::initializer_list<std::tuple<const char*, std::u16string, std::u16string>>{
           {"Text1", u"Rot", channel},
           {"Text2", u"Gr\u00FCn", channel},
           {"Text3", u"Blau", channel},
           {"Text8", u"Alpha", u"Whole number from 0 (clear) to 100 (opaque)"},
           {"Text4", u"Red fraction", u"The red channel as a fraction from 0 to 1"},
           {"Text5", u"Green fraction", u"The green channel as a fraction from 0 to 1"},
           {"Text6", u"Blue fraction", u"The blue channel as a fraction from 0 to 1"},
           {"Text9", u"Opacity fraction", u"The opacity as a fraction from 0 to 1"},
           {"Text7", u"Colour array", u"Red, green, blue and opacity fractions as an array text to copy"},
           {"Label1", u"Rot", u""},
           {"Label2", u"Gr\u00FCn", u""},
           {"Label3", u"Blau", u""},
           {"Label5", u"Alpha", u""},
           {"Label4", u"Colour swatch", u"White: red 255, green 255, blue 255"},
           {"Command1", u"Info", u"Shows the About message"}}) {
    SCOPED_TRACE(control);
    HWND hwnd = form.ControlHandle(control);
    EXPECT_EQ(HeardOf(hwnd), (Heard{name, description, hwnd}));
  }

  // The rest is the system's: an edit control's role and value.
  IAccessible* box = nullptr;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(form.ControlHandle("Text1"), OBJID_CLIENT, __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(&box)));
  VARIANT role{};
  BSTR value = nullptr;
  EXPECT_TRUE(SUCCEEDED(box->get_accRole(Self(), &role)) && role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_TEXT);
  EXPECT_TRUE(SUCCEEDED(box->get_accValue(Self(), &value)) && Take(value) == u"255");
  // A child the box does not have is the system's to answer, never given the box's own words.
  VARIANT child = Self();
  child.lVal = 1;
  BSTR of_child = nullptr;
  EXPECT_NE(SUCCEEDED(box->get_accDescription(child, &of_child)) ? Take(of_child) : u"", channel);
  box->Release();

  // Screen readers hear that the swatch's description changed, and not a caption's, whose colour is not said.
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_DESCRIPTIONCHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr,
                                       NoteDescribed, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  described.clear();
  form.LabelNamed("Label1").SetBackColour(0x000000FF);
  form.LabelNamed("Label4").SetBackColour(0x00008000);
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  UnhookWinEvent(hook);
  EXPECT_THAT(described, ::testing::ElementsAre(form.ControlHandle("Label4")));
  EXPECT_EQ(HeardOf(form.ControlHandle("Label4")).description, u"Dark green: red 0, green 128, blue 0");
  EXPECT_EQ(HeardOf(form.ControlHandle("Label1")).description, u"");

  // Closed, while the form lives on (as Pigmo.exe's does until its message loop ends).
  Win32Form closed(Form1Description(), GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
  IAccessible* kept = nullptr;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(closed.ControlHandle("Label4"), OBJID_CLIENT,
                                                      __uuidof(IAccessible), reinterpret_cast<void**>(&kept)));
  DestroyWindow(closed.Handle());
  BSTR said = nullptr;
  EXPECT_EQ(kept->get_accDescription(Self(), &said), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(kept->get_accRole(Self(), nullptr), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(said, nullptr);
  EXPECT_EQ(kept->Release(), 0u);  // the last reference: the form let go of its own
}

// No GDI object outlives its use: a label's brush goes when it takes another colour, the window's font with the form.
TEST_F(Win32FormTest, BrushesAndTheFontAreDeletedOnceUnused) {
  HGDIOBJ font = nullptr;
  {
    Win32Form own(Form1Description(), GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
    font = reinterpret_cast<HGDIOBJ>(SendMessageW(own.ControlHandle("Text1"), WM_GETFONT, 0, 0));
    ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    HDC dc = GetDC(own.Handle());
    const auto brush = [&] {
      return reinterpret_cast<HGDIOBJ>(SendMessageW(own.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(own.ControlHandle("Label4"))));
    };
    const HGDIOBJ white = brush();
    ASSERT_EQ(GetObjectType(white), static_cast<DWORD>(OBJ_BRUSH));
    own.LabelNamed("Label4").SetBackColour(0x00008000);
    EXPECT_EQ(GetObjectType(white), 0u);
    EXPECT_EQ(GetObjectType(brush()), static_cast<DWORD>(OBJ_BRUSH));
    ReleaseDC(own.Handle(), dc);
  }
  EXPECT_EQ(GetObjectType(font), 0u);
}

// A window that is not the form's: its colours are the system's, and its messages pass the dialog manager, as all do
// once the form's window is gone.
TEST_F(Win32FormTest, OtherWindowsAreLeftToTheSystem) {
  HWND other = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(AskColours(form.Handle(), other, WM_CTLCOLORSTATIC),
            (std::array{GetSysColor(COLOR_WINDOWTEXT), face, face}));
  const auto taken = [&](HWND to) {
    MSG msg{};
    msg.hwnd = to;  // WM_NULL, which the dialog manager takes for its window and each control
    return form.PreTranslateMessage(msg);
  };
  EXPECT_TRUE(taken(form.Handle()));
  EXPECT_TRUE(taken(form.ControlHandle("Text1")));
  EXPECT_FALSE(taken(other));
  DestroyWindow(form.Handle());
  EXPECT_FALSE(taken(other));
  DestroyWindow(other);
}

// A write that reaches a box without the dialog manager (from another program, say) raises one change, once the edit
// has returned.
TEST_F(Win32FormTest, AWriteSentStraightToABoxRaisesOneChange) {
  std::vector<std::u16string> seen;
  HWND box = form.ControlHandle("Text1");
  const auto subscription = form.TextBoxNamed("Text1")->OnChange([&] { seen.push_back(testing::WindowText(box)); });
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12"));
  EXPECT_THAT(seen, ::testing::ElementsAre(u"12"));
  SendMessageW(box, EM_SETSEL, 2, 2);
  SendMessageW(box, WM_CHAR, '3', 1);
  EXPECT_THAT(seen, ::testing::ElementsAre(u"12", u"123"));
}

}  // namespace
}  // namespace pigmo::runtime::win32
