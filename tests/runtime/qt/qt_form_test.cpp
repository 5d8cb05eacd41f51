// Form1's window on Qt against its description (geometry at two DPIs, fonts,
// colours, each box's rules, what assistive tools learn), the contract suite
// on Qt, and the main of the Qt tests.
#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <cmath>
#include <limits>

#include "qt_harness.h"
#include "runtime/contract/contract_tests.h"
#include "window/form1_description.h"

namespace pigmo::runtime::contract {
using QtBackend = ::testing::Types<qt::testing::QtHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, RuntimeContract, QtBackend);
}  // namespace pigmo::runtime::contract

namespace pigmo::runtime::qt::testing {
namespace {

int Px(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440)); }
QColor Rgb(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TEST(QtForm1Test, EveryControlSitsFontsAndColoursAsDescribedAtAnyDpi) {
  const FormSpec& d = window::Form1Description();
  const double screen_dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  const QString face = ToQString(QFontDatabase::hasFamily(ToQString(d.font.face)) ? d.font.face
                                                                                  : d.font.fallback_family);
  const QColor default_text = QLineEdit().palette().color(QPalette::Text);
  for (const double dpi : {96.0, 144.0}) {
    auto form = BuildQtForm(d, {.dpi = dpi});
    const QSize client(Px(d.client_width, dpi), Px(d.client_height, dpi));
    form->Window()->resize(client * 2);
    EXPECT_EQ(form->Window()->size(), client);
    EXPECT_EQ(form->Window()->minimumSize(), client);
    EXPECT_EQ(form->Window()->maximumSize(), client);
    for (const ControlSpec& c : d.controls) {
      SCOPED_TRACE(::testing::Message() << c.name << " at " << dpi << " dpi");
      QWidget* w = form->ControlWidget(c.name);
      const TwipRect& b = c.bounds;
      EXPECT_EQ(w->geometry(), QRect(Px(b.left, dpi), Px(b.top, dpi), Px(b.width, dpi), Px(b.height, dpi)));
      EXPECT_EQ(w->accessibleName(), ToQString(c.accessible_name));
      const QFont f = w->font();
      EXPECT_EQ(w->testAttribute(Qt::WA_SetFont), c.uses_font);
      if (c.uses_font) {
        EXPECT_EQ(f.family(), face);
        EXPECT_EQ(QFontInfo(f).family(), face) << "the font is not installed";
        EXPECT_DOUBLE_EQ(f.pointSizeF(), d.font.points * dpi / screen_dpi);
        EXPECT_EQ(f.weight(), QFont::Weight(d.font.weight));
        EXPECT_EQ(f.italic() || f.underline() || f.strikeOut(),
                  d.font.italic || d.font.underline || d.font.strikeout);
      }
      const QColor fore = c.fore_colour ? Rgb(*c.fore_colour) : default_text;
      if (c.kind == ControlKind::kTextBox) {
        LineEdit* edit = form->Box(c.name).Widget();
        EXPECT_EQ(edit->isReadOnly(), c.read_only);
        EXPECT_EQ(edit->TypedLimit(), c.max_length);
        EXPECT_EQ(edit->maxLength(), std::numeric_limits<int>::max());
        EXPECT_EQ(edit->palette().color(QPalette::Text), fore);
      } else if (auto* label = qobject_cast<QLabel*>(w)) {
        EXPECT_EQ(label->text(), ToQString(c.text));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_FALSE(label->wordWrap());
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(!c.fore_colour || label->palette().color(QPalette::WindowText) == fore);
        EXPECT_EQ(label->autoFillBackground(), c.back_colour.has_value());
        EXPECT_TRUE(!c.back_colour || label->palette().color(QPalette::Window) == Rgb(*c.back_colour));
      }
    }
  }
}

// The frame, caption, centring and icons as a window manager sees them are
// checked on the real program (x11_window_test.sh).
TEST(QtForm1Test, LaysOutAtTheScreenDpiAndOnlySpacePressesTheButton) {
  QtHarness h;
  h.Build(window::Form1Description());
  h.Show();
  EXPECT_DOUBLE_EQ(h.form().DpiY(), QGuiApplication::primaryScreen()->logicalDotsPerInchY());
  // No button is a default one: Enter and Escape never press it; Space does.
  int clicks = 0;
  auto counter = h.form().ButtonNamed("Command1").OnClick([&] { ++clicks; });
  for (const char* focus : {"Text1", "Command1"}) {
    h.Widget(focus)->setFocus(Qt::OtherFocusReason);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QTest::keyClick(QApplication::focusWidget(), key);
    }
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(h.WindowOpen());
  QTest::keyClick(h.Widget("Command1"), Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
}

// Captions tied to their boxes, descriptions, the swatch's colour in words
// after every change, the window's role and every shipped icon size.
TEST(QtForm1Test, AssistiveToolsLearnCaptionsDescriptionsColourRoleAndIcons) {
  const auto form = BuildQtForm(window::Form1Description());
  const auto access = [&](const char* name) {
    return QAccessible::queryAccessibleInterface(form->ControlWidget(name));
  };
  const auto says = [&](const char* name) { return access(name)->text(QAccessible::Description); };
  for (const auto& [box, caption] : {std::pair{"Text1", "Rot"}, {"Text2", "Grün"}, {"Text3", "Blau"},
                                     {"Text8", "Alpha"}}) {
    const auto labels = access(box)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1) << box;
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), QString::fromUtf8(caption));
  }
  EXPECT_TRUE(access("Text4")->relations(QAccessible::Label).isEmpty());
  for (const auto& [box, part] : {std::pair{"Text1", "0 to 255"}, {"Text2", "0 to 255"}, {"Text3", "0 to 255"},
                                  {"Text8", "to 100"}, {"Text4", "red"}, {"Text5", "green"},
                                  {"Text6", "blue"}, {"Text9", "opacity"}, {"Text7", "array"}}) {
    EXPECT_TRUE(says(box).contains(QLatin1String(part))) << box;
  }
  EXPECT_EQ(says("Label4"), "White: red 255, green 255, blue 255");
  for (const auto& [colour, words] : std::initializer_list<std::pair<Colour, const char*>>{
           {0x00008000, "Dark green: red 0, green 128, blue 0"}, {0x000080FF, "Orange: red 255, green 128, blue 0"},
           {0x00003C78, "Brown: red 120, green 60, blue 0"},     {0x00FF0000, "Blue: red 0, green 0, blue 255"},
           {0x0000FFFF, "Yellow: red 255, green 255, blue 0"},
           {0x00800080, "Dark magenta: red 128, green 0, blue 128"},
           {0x00C0C0FF, "Light red: red 255, green 192, blue 192"}, {0x00808080, "Grey: red 128, green 128, blue 128"},
           {0x00000000, "Black: red 0, green 0, blue 0"},
           // Each side of every border between names: grey and hue, darkness, hue sectors.
           {0x0064647C, "Red: red 124, green 100, blue 100"},  {0x0064647B, "Grey: red 123, green 100, blue 100"},
           {0x001E1E1E, "Dark grey: red 30, green 30, blue 30"}, {0x001D1D1E, "Black: red 30, green 29, blue 29"},
           {0x00B4B4B4, "Grey: red 180, green 180, blue 180"},  {0x009191FF, "Red: red 255, green 145, blue 145"},
           {0x000000A0, "Red: red 160, green 0, blue 0"},       {0x0000009F, "Dark red: red 159, green 0, blue 0"},
           {0x008000FF, "Magenta: red 255, green 0, blue 128"}, {0x006F00FF, "Magenta: red 255, green 0, blue 111"},
           {0x006B00FF, "Red: red 255, green 0, blue 107"},     {0x0000FFC8, "Green: red 200, green 255, blue 0"},
           {0x00FF6400, "Blue: red 0, green 100, blue 255"},    {0x00646464, "Grey: red 100, green 100, blue 100"},
           {0x00B464C8, "Magenta: red 200, green 100, blue 180"}}) {
    form->LabelNamed("Label4").SetBackColour(colour);
    EXPECT_EQ(says("Label4"), words);
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Window())->role(), QAccessible::Window);
  const QList<QSize> sizes = form->Window()->windowIcon().availableSizes();
  for (const int size : {16, 32, 48, 64, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

}  // namespace
}  // namespace pigmo::runtime::qt::testing

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleMock(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
