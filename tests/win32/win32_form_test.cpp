// The Win32 backend on real controls: the window Form1's description asks
// for, and the text box contract as the edit control provides it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/error.h"
#include "win32/win32_test_support.h"

namespace pigmo::runtime::win32 {
namespace {

using testing::EditUser;
using testing::Pump;
using testing::ShownForm;
using window::Form1Description;

RECT ClientRectIn(HWND parent, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

class Win32FormTest : public ::testing::Test {
 protected:
  ShownForm shown;
  Win32Form& form = shown.form;
};

// ------------------------------------------------------------ the window

TEST_F(Win32FormTest, WindowHasAFixedFrameWithCaptionSystemMenuAndCloseBoxOnly) {
  const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(testing::WindowText(form.Handle()), u"Pigmo");
  EXPECT_EQ(GetParent(form.Handle()), nullptr);
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), nullptr);  // so it has a task-bar button
}

// The pixels of an icon, drawn into a 32-bit bitmap of its own size.
std::vector<std::uint32_t> IconPixels(HICON icon, SIZE* size) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
  BITMAP bm{};
  GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  size->cx = bm.bmWidth;
  size->cy = info.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size->cx;
  bi.bmiHeader.biHeight = -size->cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, dib);
  DrawIconEx(dc, 0, 0, icon, size->cx, size->cy, 0, nullptr, DI_NORMAL);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(p, p + static_cast<size_t>(size->cx) * static_cast<size_t>(size->cy));
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return pixels;
}

// This test program carries Pigmo.exe's resources, icon included.
TEST_F(Win32FormTest, TitleBarAndTaskBarShowTheProgramsIcon) {
  for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
    SCOPED_TRACE(kind == ICON_BIG ? "big" : "small");
    SIZE size{};
    const std::vector<std::uint32_t> shown =
        IconPixels(reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, kind, 0)), &size);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(size.cx, GetSystemMetrics(kind == ICON_BIG ? SM_CXICON : SM_CXSMICON));
    HICON own = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size.cx, size.cy, 0));
    ASSERT_NE(own, nullptr);
    SIZE own_size{};
    EXPECT_EQ(IconPixels(own, &own_size), shown);
    HICON stock = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    EXPECT_NE(IconPixels(stock, &own_size), shown);
    DestroyIcon(own);
  }
}

TEST_F(Win32FormTest, ClientAreaIsTheDescribedSizeAtTheWindowsDpi) {
  RECT client{};
  GetClientRect(form.Handle(), &client);
  const auto& description = Form1Description();
  EXPECT_EQ(client.right, TwipsToPixels(description.client_width, form.Dpi()));
  EXPECT_EQ(client.bottom, TwipsToPixels(description.client_height, form.Dpi()));
  if (form.Dpi() == USER_DEFAULT_SCREEN_DPI) {
    EXPECT_EQ(client.right, 243);
    EXPECT_EQ(client.bottom, 237);
  }
}

// The test run names the screen scale its Wine prefix was set up with.
TEST_F(Win32FormTest, WindowTakesTheScreensDpi) {
  const char* expected = std::getenv("PIGMO_EXPECT_DPI");
  if (expected == nullptr) GTEST_SKIP() << "PIGMO_EXPECT_DPI is not set";
  EXPECT_EQ(form.Dpi(), static_cast<UINT>(std::atoi(expected)));
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.ControlHandle("Text1"), WM_GETFONT, 0, 0)),
             sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -std::lround(8.25 * std::atoi(expected) / 72.0));
}

TEST_F(Win32FormTest, WindowIsCentredOnTheWorkArea) {
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
  EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
}

TEST_F(Win32FormTest, EveryControlStandsWhereTheDescriptionPutsIt) {
  for (const ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    HWND hwnd = form.ControlHandle(c.name);
    ASSERT_NE(hwnd, nullptr);
    const RECT r = ClientRectIn(form.Handle(), hwnd);
    EXPECT_EQ(r.left, TwipsToPixels(c.bounds.left, form.Dpi()));
    EXPECT_EQ(r.top, TwipsToPixels(c.bounds.top, form.Dpi()));
    EXPECT_EQ(r.right - r.left, TwipsToPixels(c.bounds.width, form.Dpi()));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(c.bounds.height, form.Dpi()));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(GetDlgCtrlID(hwnd), ControlId(Form1Description(), c.name));
  }
}

TEST_F(Win32FormTest, ControlsAreOfTheirKindWithStartTextsAndRules) {
  for (const ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    HWND hwnd = form.ControlHandle(c.name);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(testing::WindowText(hwnd), c.text);
    switch (c.kind) {
      case ControlKind::kTextBox: {
        EXPECT_EQ(_wcsicmp(cls, L"Edit"), 0);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_EQ((style & ES_READONLY) != 0, c.read_only);
        EXPECT_FALSE(style & ES_MULTILINE);
        EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        auto box = form.TextBoxNamed(c.name);
        EXPECT_EQ(box->Text(), c.text);
        EXPECT_EQ(box->ReadOnly(), c.read_only);
        EXPECT_EQ(box->MaxLength(), c.max_length);
        break;
      }
      case ControlKind::kLabel:
        EXPECT_EQ(_wcsicmp(cls, L"Static"), 0);
        EXPECT_FALSE(style & WS_TABSTOP);
        EXPECT_TRUE(style & SS_NOPREFIX);
        EXPECT_EQ(form.LabelNamed(c.name).Caption(), c.text);
        break;
      case ControlKind::kButton:
        EXPECT_EQ(_wcsicmp(cls, L"Button"), 0);
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);  // not BS_DEFPUSHBUTTON
        EXPECT_EQ(form.ButtonNamed(c.name).Caption(), c.text);
        break;
    }
  }
}

TEST_F(Win32FormTest, TextControlsUseVerdanaBoldAtEightAndAQuarterPoints) {
  const auto& description = Form1Description();
  for (const ControlSpec& c : description.controls) {
    SCOPED_TRACE(std::string(c.name));
    auto font = reinterpret_cast<HFONT>(SendMessageW(form.ControlHandle(c.name), WM_GETFONT, 0, 0));
    if (!c.uses_font) {
      EXPECT_EQ(font, nullptr);
      continue;
    }
    ASSERT_NE(font, nullptr);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    // Wine has no Verdana: the description's fallback family stands in.
    EXPECT_STREQ(lf.lfFaceName, FaceInstalled("Verdana") ? L"Verdana" : L"DejaVu Sans");
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfHeight, -std::lround(8.25 * form.Dpi() / 72.0));
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfStrikeOut);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
  }
  if (form.Dpi() == USER_DEFAULT_SCREEN_DPI) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.ControlHandle("Text1"), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -11);
  }
}

// The colours a control paints with, as the window answers its
// WM_CTLCOLOR* question.
struct Painted {
  COLORREF text;
  COLORREF back;
  COLORREF brush;
};

Painted AskColours(Win32Form& form, std::string_view name) {
  HWND hwnd = form.ControlHandle(name);
  HDC dc = GetDC(hwnd);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  const bool read_only = (GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_READONLY) != 0;
  const UINT message = (_wcsicmp(cls, L"Edit") == 0 && !read_only) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form.Handle(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  Painted p{GetTextColor(dc), GetBkColor(dc), CLR_INVALID};
  LOGBRUSH lb{};
  if (brush != nullptr && GetObjectW(brush, sizeof lb, &lb) == sizeof lb) p.brush = lb.lbColor;
  ReleaseDC(hwnd, dc);
  return p;
}

TEST_F(Win32FormTest, BoxesPaintTheirTextColourOnTheWindowBackgroundReadOnlyOnesToo) {
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.kind != ControlKind::kTextBox) continue;
    SCOPED_TRACE(std::string(c.name));
    const Painted p = AskColours(form, c.name);
    EXPECT_EQ(p.text, c.fore_colour ? static_cast<COLORREF>(*c.fore_colour) : GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(p.back, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(p.brush, GetSysColor(COLOR_WINDOW));
  }
  EXPECT_EQ(AskColours(form, "Text2").text, static_cast<COLORREF>(RGB(0, 128, 0)));
}

TEST_F(Win32FormTest, LabelsPaintTheirColoursAndTheSwatchTakesANewBackground) {
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.kind != ControlKind::kLabel) continue;
    SCOPED_TRACE(std::string(c.name));
    const Painted p = AskColours(form, c.name);
    EXPECT_EQ(p.text, c.fore_colour ? static_cast<COLORREF>(*c.fore_colour) : GetSysColor(COLOR_WINDOWTEXT));
    const COLORREF back = c.back_colour ? static_cast<COLORREF>(*c.back_colour) : GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(p.back, back);
    EXPECT_EQ(p.brush, back);
    EXPECT_EQ(form.LabelNamed(c.name).BackColour(), back);
  }
  Label& swatch = form.LabelNamed("Label4");
  EXPECT_EQ(swatch.BackColour(), 0x00FFFFFFu);
  for (Colour colour : {0x00000000u, 0x00123456u, 0x000000FFu, 0x00FF0000u}) {
    swatch.SetBackColour(colour);
    EXPECT_EQ(swatch.BackColour(), colour);
    const Painted p = AskColours(form, "Label4");
    EXPECT_EQ(p.brush, static_cast<COLORREF>(colour));  // 0x00BBGGRR is a COLORREF
    EXPECT_EQ(GetRValue(p.brush), colour & 0xFF);
  }
  swatch.SetBackColour(0xFF00FF00u);  // the high byte is not part of a colour
  EXPECT_EQ(swatch.BackColour(), 0x0000FF00u);
}

TEST_F(Win32FormTest, SwatchIsPaintedInItsColour) {
  form.LabelNamed("Label4").SetBackColour(0x00336699u);
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(&form);
  HWND swatch = form.ControlHandle("Label4");
  RECT r{};
  GetClientRect(swatch, &r);
  // Draw the control into a bitmap of our own rather than read the screen.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(swatch, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  const COLORREF middle = GetPixel(dc, r.right / 2, r.bottom / 2);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(middle, static_cast<COLORREF>(0x00336699u));
}

// -------------------------------------------------------------- focus, keys

TEST_F(Win32FormTest, FocusStartsInText1WithItsTextSelected) {
  EXPECT_EQ(GetFocus(), form.ControlHandle("Text1"));
  EXPECT_EQ(shown.User("Text1").Selection(), std::make_pair(0, 3));
}

std::vector<std::string> TabStopsInOrder() {
  std::vector<const ControlSpec*> stops;
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.kind != ControlKind::kLabel) stops.push_back(&c);
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const ControlSpec* a, const ControlSpec* b) { return a->tab_index < b->tab_index; });
  std::vector<std::string> names;
  for (const ControlSpec* c : stops) names.emplace_back(c->name);
  return names;
}

std::string FocusedName(const Win32Form& form) {
  HWND focus = GetFocus();
  for (const ControlSpec& c : Form1Description().controls) {
    if (form.ControlHandle(c.name) == focus) return std::string(c.name);
  }
  return "?";
}

TEST_F(Win32FormTest, TabWalksTheTabOrderAndSelectsEachBoxsText) {
  const std::vector<std::string> expected = {"Text1", "Text2", "Text3", "Text8", "Text4",
                                             "Text5", "Text6", "Text9", "Text7", "Command1"};
  ASSERT_EQ(TabStopsInOrder(), expected);
  std::vector<std::string> seen = {FocusedName(form)};
  for (size_t i = 0; i < expected.size(); ++i) {
    testing::PressKey(form, VK_TAB);
    seen.push_back(FocusedName(form));
    const std::string& name = seen.back();
    if (name.rfind("Text", 0) == 0) {
      const int length = GetWindowTextLengthW(form.ControlHandle(name));
      EXPECT_EQ(shown.User(name).Selection(), std::make_pair(0, length)) << name;
    }
  }
  std::vector<std::string> cycle = expected;
  cycle.push_back("Text1");
  EXPECT_EQ(seen, cycle);
}

TEST_F(Win32FormTest, ShiftTabWalksBackwards) {
  std::vector<std::string> seen;
  for (int i = 0; i < 3; ++i) {
    testing::PressKey(form, VK_TAB, /*shift=*/true);
    seen.push_back(FocusedName(form));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Command1", "Text7", "Text9"}));
}

TEST_F(Win32FormTest, EnterAndEscapePressNothingAndKeepTheWindowOpen) {
  int clicks = 0;
  auto sub = form.ButtonNamed("Command1").OnClick([&] { ++clicks; });
  for (const char* where : {"Text1", "Command1", "Text7"}) {
    SCOPED_TRACE(where);
    SetFocus(form.ControlHandle(where));
    testing::PressKey(form, VK_RETURN);
    testing::PressKey(form, VK_ESCAPE);
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(FocusedName(form), where);
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form.TextBoxNamed("Text1")->Text(), u"255");
}

TEST_F(Win32FormTest, SpaceOnTheFocusedButtonAndAClickPressItOnce) {
  int clicks = 0;
  auto sub = form.ButtonNamed("Command1").OnClick([&] { ++clicks; });
  SendMessageW(form.ControlHandle("Command1"), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  SetFocus(form.ControlHandle("Command1"));
  testing::PressKey(form, VK_SPACE);
  EXPECT_EQ(clicks, 2);
}

// ------------------------------------------------------------- text boxes

class Win32TextBoxTest : public Win32FormTest {
 protected:
  // Counts change events and records the text and caret each one sees.
  struct Recorder {
    std::vector<std::u16string> texts;
    std::vector<std::int32_t> carets;
  };
  Subscription Record(const std::shared_ptr<TextBox>& box, Recorder& rec) {
    return box->OnChange([&rec, box = box.get()] {
      rec.texts.push_back(box->Text());
      rec.carets.push_back(box->Caret());
    });
  }
};

TEST_F(Win32TextBoxTest, ProgramWriteRaisesOneEventWithTheCaretAtTheStart) {
  auto box = form.TextBoxNamed("Text7");
  Recorder rec;
  auto sub = Record(box, rec);
  shown.User("Text7").MoveCaret(5);
  box->SetText(u"[0.5020,1,1,1]");
  EXPECT_EQ(rec.texts, (std::vector<std::u16string>{u"[0.5020,1,1,1]"}));
  EXPECT_EQ(rec.carets, (std::vector<std::int32_t>{0}));
  EXPECT_EQ(box->Caret(), 0);
  EXPECT_EQ(testing::WindowText(form.ControlHandle("Text7")), u"[0.5020,1,1,1]");
}

TEST_F(Win32TextBoxTest, WritingTheSameTextRaisesNothingButStillPutsTheCaretAtTheStart) {
  auto box = form.TextBoxNamed("Text4");
  Recorder rec;
  auto sub = Record(box, rec);
  box->SetCaret(1);
  box->SetText(u"1");
  Pump(&form);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_EQ(box->Caret(), 0);
}

TEST_F(Win32TextBoxTest, TextsDifferingOnlyInCaseOrWidthAreChanges) {
  auto box = form.TextBoxNamed("Text7");
  Recorder rec;
  auto sub = Record(box, rec);
  box->SetText(u"abc");
  box->SetText(u"ABC");
  box->SetText(u"\uFF21BC");
  box->SetText(u"\uFF21BC");
  EXPECT_EQ(rec.texts, (std::vector<std::u16string>{u"abc", u"ABC", u"\uFF21BC"}));
}

TEST_F(Win32TextBoxTest, ProgramWritesIgnoreTheLengthLimitAndTheReadOnlyFlag) {
  auto input = form.TextBoxNamed("Text1");
  auto fraction = form.TextBoxNamed("Text4");
  Recorder rec;
  auto sub = Record(input, rec);
  input->SetText(u"123456789");
  EXPECT_EQ(input->Text(), u"123456789");
  EXPECT_EQ(rec.texts.size(), 1u);
  fraction->SetText(u"0.5020");
  EXPECT_EQ(fraction->Text(), u"0.5020");
  EXPECT_EQ(input->MaxLength(), 3);  // the limit is still there for the user
  shown.User("Text1").SelectAll();
  shown.User("Text1").Type(u"45678");
  EXPECT_EQ(input->Text(), u"456");
}

TEST_F(Win32TextBoxTest, BoxWithoutALimitTakesLongTypedTexts) {
  auto box = form.TextBoxNamed("Text7");
  const std::u16string longer(40000, u'7');
  shown.User("Text7").SelectAll();
  shown.User("Text7").Paste(longer);
  EXPECT_EQ(box->Text().size(), longer.size());
}

TEST_F(Win32TextBoxTest, EachKeystrokeRaisesOneEventWithTheCaretAfterIt) {
  auto box = form.TextBoxNamed("Text1");
  Recorder rec;
  auto sub = Record(box, rec);
  EditUser user = shown.User("Text1");
  user.SelectAll();
  user.Type(u"12");
  user.MoveCaret(1);
  user.Type(u"x");
  EXPECT_EQ(rec.texts, (std::vector<std::u16string>{u"1", u"12", u"1x2"}));
  EXPECT_EQ(rec.carets, (std::vector<std::int32_t>{1, 2, 2}));
}

TEST_F(Win32TextBoxTest, FourthTypedCharacterIsRefusedWithoutAnEvent) {
  auto box = form.TextBoxNamed("Text1");
  Recorder rec;
  auto sub = Record(box, rec);
  EditUser user = shown.User("Text1");
  user.MoveCaret(3);
  user.Type(u"4");
  EXPECT_EQ(box->Text(), u"255");
  EXPECT_TRUE(rec.texts.empty());
  user.SelectAll();
  user.Type(u"a");  // any character, letters too
  EXPECT_EQ(box->Text(), u"a");
}

TEST_F(Win32TextBoxTest, PasteIsCutToTheLimitAndRaisesOneEvent) {
  auto box = form.TextBoxNamed("Text2");
  Recorder rec;
  auto sub = Record(box, rec);
  EditUser user = shown.User("Text2");
  user.SelectAll();
  user.Paste(u"12345");
  EXPECT_EQ(box->Text(), u"123");
  EXPECT_EQ(rec.texts, (std::vector<std::u16string>{u"123"}));
}

TEST_F(Win32TextBoxTest, ReplacingASelectionWithTheSameTextRaisesNothing) {
  auto box = form.TextBoxNamed("Text1");
  Recorder rec;
  auto sub = Record(box, rec);
  EditUser user = shown.User("Text1");
  user.Select(2, 3);
  user.Type(u"5");
  EXPECT_EQ(box->Text(), u"255");
  EXPECT_TRUE(rec.texts.empty());
}

TEST_F(Win32TextBoxTest, BackspaceDeleteCutAndUndoRaiseOneEventEach) {
  auto box = form.TextBoxNamed("Text7");
  Recorder rec;
  auto sub = Record(box, rec);
  EditUser user = shown.User("Text7");
  user.MoveCaret(2);
  user.Backspace();  // "[,1,1,1]"
  user.Delete();     // "[1,1,1]"
  user.Select(0, 2);
  user.Cut();        // ",1,1]"
  EXPECT_EQ(testing::ClipboardText(), u"[1");
  user.Undo();
  EXPECT_EQ(rec.texts.size(), 4u);
  EXPECT_EQ(rec.texts[0], u"[,1,1,1]");
  EXPECT_EQ(rec.texts[1], u"[1,1,1]");
  EXPECT_EQ(rec.texts[2], u",1,1]");
  EXPECT_EQ(rec.texts.back(), box->Text());
  EXPECT_NE(rec.texts[3], rec.texts[2]);
}

TEST_F(Win32TextBoxTest, ReadOnlyBoxRefusesEditsButSelectsAndCopies) {
  auto box = form.TextBoxNamed("Text4");
  box->SetText(u"0.5020");
  Recorder rec;
  auto sub = Record(box, rec);
  EditUser user = shown.User("Text4");
  user.SelectAll();
  user.Type(u"9");
  user.Backspace();
  user.Delete();
  user.Paste(u"77");
  user.Cut();
  EXPECT_EQ(box->Text(), u"0.5020");
  EXPECT_TRUE(rec.texts.empty());
  user.Select(2, 6);
  EXPECT_EQ(user.Copy(), u"5020");
  EXPECT_EQ(box->Caret(), 2);
}

TEST_F(Win32TextBoxTest, CaretIsTheStartOfTheSelectionAndClampsToTheEnd) {
  auto box = form.TextBoxNamed("Text7");  // "[1,1,1,1]", 9 code units
  box->SetCaret(4);
  EXPECT_EQ(box->Caret(), 4);
  EXPECT_EQ(shown.User("Text7").Selection(), std::make_pair(4, 4));
  box->SetCaret(100);
  EXPECT_EQ(box->Caret(), 9);
  shown.User("Text7").Select(6, 2);  // a selection made backwards
  EXPECT_EQ(box->Caret(), 2);
  box->SetCaret(0);
  EXPECT_EQ(box->Caret(), 0);
  EXPECT_THROW(box->SetCaret(-1), Error);
}

TEST_F(Win32TextBoxTest, TextsAreUtf16CodeUnits) {
  auto box = form.TextBoxNamed("Text7");
  const std::u16string text = u"Gr\u00FCn \U0001F3A8";  // a surrogate pair at the end
  box->SetText(text);
  EXPECT_EQ(box->Text(), text);
  box->SetCaret(static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(box->Caret(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(form.LabelNamed("Label2").Caption(), u"Gr\u00FCn");
  EXPECT_EQ(testing::WindowText(form.ControlHandle("Label2")), u"Gr\u00FCn");
}

TEST_F(Win32TextBoxTest, ListenerWritingItsOwnBoxRunsNestedAndTheOuterRunGoesOn) {
  auto box = form.TextBoxNamed("Text1");
  std::vector<std::string> log;
  auto sub = box->OnChange([&] {
    const std::u16string seen = box->Text();
    log.push_back("enter " + Narrow(seen));
    if (seen.empty()) box->SetText(u"0");
    log.push_back("leave " + Narrow(seen) + " now " + Narrow(box->Text()));
  });
  EditUser user = shown.User("Text1");
  user.SelectAll();
  user.Backspace();  // the user empties the box; the listener writes "0"
  EXPECT_EQ(log, (std::vector<std::string>{"enter ", "enter 0", "leave 0 now 0", "leave  now 0"}));
  EXPECT_EQ(box->Text(), u"0");
  EXPECT_EQ(testing::WindowText(form.ControlHandle("Text1")), u"0");
}

TEST_F(Win32TextBoxTest, BoxOutlivingItsWindowKeepsWorkingOnItsText) {
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

TEST_F(Win32FormTest, UnknownControlNamesAndWrongKindsAreInvalidArguments) {
  EXPECT_THROW(form.TextBoxNamed("Text10"), Error);
  EXPECT_THROW(form.TextBoxNamed("Label1"), Error);
  EXPECT_THROW(form.LabelNamed("Text1"), Error);
  EXPECT_THROW(form.ButtonNamed("Label4"), Error);
}

TEST_F(Win32FormTest, NoChangeEventIsRaisedWhileTheWindowStartsAndShows) {
  Win32Form other(Form1Description(), GetModuleHandleW(nullptr), Win32Form::OnClose::kDestroy);
  int events = 0;
  std::vector<Subscription> subs;
  for (const ControlSpec& c : Form1Description().controls) {
    if (c.kind == ControlKind::kTextBox) subs.push_back(other.TextBoxNamed(c.name)->OnChange([&] { ++events; }));
  }
  other.Show();
  Pump(&other);
  RedrawWindow(other.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(&other);
  EXPECT_EQ(events, 0);
}

// --------------------------------------------------------------- scaling

TEST_F(Win32FormTest, MovingToAMonitorWithAnotherScaleScalesLayoutAndFont) {
  RECT suggested{};
  GetWindowRect(form.Handle(), &suggested);
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.Dpi(), 144u);
  for (const ControlSpec& c : Form1Description().controls) {
    SCOPED_TRACE(std::string(c.name));
    const RECT r = ClientRectIn(form.Handle(), form.ControlHandle(c.name));
    EXPECT_EQ(r.left, TwipsToPixels(c.bounds.left, 144));
    EXPECT_EQ(r.top, TwipsToPixels(c.bounds.top, 144));
    EXPECT_EQ(r.right - r.left, TwipsToPixels(c.bounds.width, 144));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(c.bounds.height, 144));
  }
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.ControlHandle("Text7"), WM_GETFONT, 0, 0)),
             sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -17);  // 8.25 pt at 144 dpi is 16.5 px
  EXPECT_EQ(TwipsToPixels(120, 144), 12);
}

// ------------------------------------------------------------ message box

TEST_F(Win32FormTest, InfoIsAModalMessageBoxOwnedByTheWindow) {
  std::vector<testing::SeenMessageBox> seen;
  {
    testing::MessageBoxAnswerer answerer(&seen);
    form.ShowInfo(window::AboutText(), window::AboutTitle());
  }
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].shown.title, u"Info");
  EXPECT_EQ(seen[0].shown.lines,
            (std::vector<std::u16string>{u"This program helps you to recalculate an RGB value",
                                         u"into a color value for the Varnok Billboard effects.",
                                         u"", u"by Tolvane"}));
  EXPECT_EQ(seen[0].owner, form.Handle());
  EXPECT_FALSE(seen[0].owner_enabled);  // modal: the window takes no input meanwhile
  EXPECT_TRUE(seen[0].shown.information_icon);
  EXPECT_TRUE(seen[0].shown.only_ok_button);
  // Closed: the window is enabled again and unchanged.
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
  EXPECT_EQ(form.TextBoxNamed("Text7")->Text(), u"[1,1,1,1]");
}

}  // namespace
}  // namespace pigmo::runtime::win32
