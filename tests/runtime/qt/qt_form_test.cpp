// Form1's window on Qt against its description: geometry at two DPIs, a
// fixed frame with the close box only, fonts, colours and each box's rules.
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <cmath>
#include <limits>

#include "qt_harness.h"
#include "window/form1_description.h"

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

TEST(QtForm1Test, ShowsCentredAtTheScreenDpiWithTheCaptionCloseBoxAndIcon) {
  const FormSpec& d = window::Form1Description();
  QtHarness h;
  h.Build(d);
  h.Show();
  QWidget* window = h.form().Window();
  EXPECT_DOUBLE_EQ(h.form().DpiY(), QGuiApplication::primaryScreen()->logicalDotsPerInchY());
  EXPECT_EQ(window->windowTitle(), ToQString(d.caption));
  EXPECT_EQ(window->windowType(), Qt::Window);  // a task-bar window, not a tool or dialog
  const Qt::WindowFlags flags = window->windowFlags();
  const auto expected = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | (d.minimise_box ? Qt::WindowMinimizeButtonHint : Qt::Widget) |
                        (d.maximise_box ? Qt::WindowMaximizeButtonHint : Qt::Widget);
  EXPECT_EQ(flags & ~Qt::WindowType_Mask, expected);
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((window->frameGeometry().center() - centre).manhattanLength(), 2);
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

}  // namespace
}  // namespace pigmo::runtime::qt::testing
