// The Qt window built from Form1's description: layout, frame, fonts,
// colours, keys and the About box, on the offscreen platform.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "qt_harness.h"
#include "runtime/dispatch.h"
#include "runtime/locale.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::runtime::qt::testing {
namespace {

// The layout table's pixel column, at 96 dpi.
struct PixelRow {
  const char* name;
  QRect rect;
};
const PixelRow kPixels[] = {
    {"Text1", {8, 24, 41, 19}},    {"Text2", {8, 72, 41, 19}},    {"Text3", {8, 120, 41, 19}},
    {"Text8", {8, 168, 41, 19}},   {"Text4", {56, 24, 121, 19}},  {"Text5", {56, 72, 121, 19}},
    {"Text6", {56, 120, 121, 19}}, {"Text9", {56, 168, 121, 19}}, {"Text7", {8, 208, 225, 19}},
    {"Label1", {8, 8, 25, 17}},    {"Label2", {8, 56, 33, 17}},   {"Label3", {8, 104, 33, 17}},
    {"Label4", {192, 24, 41, 137}}, {"Label5", {8, 152, 41, 17}},
    {"Command1", {192, 168, 41, 17}},
};
const char* const kTextBoxes[] = {"Text1", "Text2", "Text3", "Text8", "Text4",
                                  "Text5", "Text6", "Text9", "Text7"};

double ScreenDpiY() { return QGuiApplication::primaryScreen()->logicalDotsPerInchY(); }

QString ExpectedFamily() {
  return QFontDatabase::hasFamily(QStringLiteral("Verdana")) ? QStringLiteral("Verdana")
                                                             : QStringLiteral("DejaVu Sans");
}

class Form1WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { UnhandledErrors().Clear(); }
  QtForm& Build(QtFormOptions options = {}) {
    form_ = BuildQtForm(window::Form1Description(), options);
    return *form_;
  }
  QWidget* W(const char* name) { return form_->ControlWidget(name); }

  std::unique_ptr<QtForm> form_;
};

TEST_F(Form1WindowTest, At96DpiEveryControlSitsAtItsPixelRect) {
  Build({.dpi = 96});
  EXPECT_EQ(form_->Window()->size(), QSize(243, 237));
  for (const PixelRow& row : kPixels) {
    EXPECT_EQ(W(row.name)->geometry(), row.rect) << row.name;
    EXPECT_EQ(W(row.name)->parentWidget(), form_->Window()) << row.name;
  }
}

TEST_F(Form1WindowTest, LayoutFollowsTheScreenDpiByDefault) {
  Build();
  EXPECT_DOUBLE_EQ(form_->DpiX(), QGuiApplication::primaryScreen()->logicalDotsPerInchX());
  EXPECT_DOUBLE_EQ(form_->DpiY(), ScreenDpiY());
  const double scale = ScreenDpiY() / 96.0;
  EXPECT_EQ(form_->Window()->height(), static_cast<int>(std::lround(237 * scale)));
}

TEST_F(Form1WindowTest, LayoutAndFontScaleWithTheDpi) {
  Build({.dpi = 144});
  const auto scaled = [](int px) { return static_cast<int>(std::lround(px * 1.5)); };
  EXPECT_EQ(form_->Window()->size(), QSize(scaled(243), scaled(237)));
  EXPECT_EQ(form_->Window()->minimumSize(), form_->Window()->maximumSize());
  for (const PixelRow& row : kPixels) {
    const QRect& r = row.rect;
    EXPECT_EQ(W(row.name)->geometry(),
              QRect(scaled(r.x()), scaled(r.y()), scaled(r.width()), scaled(r.height())))
        << row.name;
  }
  EXPECT_NEAR(W("Text1")->font().pointSizeF(), 8.25 * 144 / ScreenDpiY(), 1e-9);
}

TEST_F(Form1WindowTest, ClientAreaHasAFixedSize) {
  Build({.dpi = 96});
  QWidget* window = form_->Window();
  EXPECT_EQ(window->minimumSize(), QSize(243, 237));
  EXPECT_EQ(window->maximumSize(), QSize(243, 237));
  window->resize(400, 300);
  EXPECT_EQ(window->size(), QSize(243, 237));
  window->resize(100, 100);
  EXPECT_EQ(window->size(), QSize(243, 237));
}

TEST_F(Form1WindowTest, TitleBarCarriesSystemMenuAndCloseBoxOnly) {
  Build();
  const Qt::WindowFlags flags = form_->Window()->windowFlags();
  EXPECT_EQ(form_->Window()->windowType(), Qt::Window);  // a task-bar window, not a tool or dialog
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(form_->Window()->windowTitle(), QStringLiteral("Pigmo"));
}

TEST_F(Form1WindowTest, WindowCarriesTheProgramIconInThreeSizes) {
  if (PIGMO_ICON_COUNT == 0) GTEST_SKIP() << "the build has no icon images";
  Build();
  const QIcon icon = form_->Window()->windowIcon();
  ASSERT_FALSE(icon.isNull());
  const QList<QSize> sizes = icon.availableSizes();
  for (const int size : {16, 32, 48}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST_F(Form1WindowTest, EveryControlWithTextUsesTheBoldFontAtEightPointTwoFive) {
  Build({.dpi = ScreenDpiY()});
  const QString family = ExpectedFamily();
  for (const PixelRow& row : kPixels) {
    if (std::string(row.name) == "Label4") continue;
    SCOPED_TRACE(row.name);
    const QFont font = W(row.name)->font();
    EXPECT_EQ(font.family(), family);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    EXPECT_EQ(QFontInfo(font).family(), family) << "the font is not really installed";
    EXPECT_TRUE(QFontInfo(font).bold());
  }
  if (ScreenDpiY() == 96) {
    EXPECT_EQ(QFontInfo(W("Text1")->font()).pixelSize(), 11);
  }
  // Label4 shows no text and sets no font of its own.
  EXPECT_FALSE(W("Label4")->testAttribute(Qt::WA_SetFont));
}

TEST_F(Form1WindowTest, TextColoursAreTheDescribedOnesOrThePlatformDefault) {
  Build();
  const QColor default_text = QLineEdit().palette().color(QPalette::Text);
  const std::map<std::string, QColor> boxes = {
      {"Text1", QColor(255, 0, 0)}, {"Text2", QColor(0, 128, 0)}, {"Text3", QColor(0, 0, 255)},
      {"Text8", QColor(0, 0, 0)},   {"Text9", QColor(0, 0, 0)},   {"Text7", QColor(0, 0, 0)},
      {"Text4", default_text},      {"Text5", default_text},      {"Text6", default_text}};
  for (const auto& [name, colour] : boxes) {
    EXPECT_EQ(W(name.c_str())->palette().color(QPalette::Text), colour) << name;
  }
  const std::map<std::string, QColor> labels = {{"Label1", QColor(255, 0, 0)},
                                                {"Label2", QColor(0, 128, 0)},
                                                {"Label3", QColor(0, 0, 255)},
                                                {"Label5", QColor(0, 0, 0)}};
  for (const auto& [name, colour] : labels) {
    EXPECT_EQ(W(name.c_str())->palette().color(QPalette::WindowText), colour) << name;
  }
}

TEST_F(Form1WindowTest, LabelsArePlainLeftAlignedUnwrappedAndNeverFocused) {
  Build();
  const std::map<std::string, QString> captions = {
      {"Label1", QStringLiteral("Rot")},
      {"Label2", ToQString(std::u16string_view(u"Gr\u00FCn"))},
      {"Label3", QStringLiteral("Blau")},
      {"Label4", QString()},
      {"Label5", QStringLiteral("Alpha")}};
  for (const auto& [name, caption] : captions) {
    SCOPED_TRACE(name);
    auto* label = qobject_cast<QLabel*>(W(name.c_str()));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), caption);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_FALSE(label->wordWrap());
    EXPECT_TRUE(label->alignment().testFlag(Qt::AlignLeft));
    EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
  }
  // The umlaut is one code unit, U+00FC.
  const QString green = qobject_cast<QLabel*>(W("Label2"))->text();
  ASSERT_EQ(green.size(), 4);
  EXPECT_EQ(green.at(2).unicode(), 0x00FC);

  QWidget* swatch = W("Label4");
  EXPECT_TRUE(swatch->autoFillBackground());
  EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(255, 255, 255));
  form_->LabelNamed("Label4").SetBackColour(0x00336699u);  // red 0x99, green 0x66, blue 0x33
  EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
}

TEST_F(Form1WindowTest, BoxesCarryTheirRulesAndAccessibleNames) {
  Build();
  const auto& description = window::Form1Description();
  for (const ControlSpec& c : description.controls) {
    SCOPED_TRACE(std::string(c.name));
    QWidget* widget = W(std::string(c.name).c_str());
    EXPECT_EQ(widget->accessibleName(), ToQString(c.accessible_name));
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_FALSE(widget->isHidden());
  }
  for (const char* name : {"Text4", "Text5", "Text6", "Text9"}) {
    EXPECT_TRUE(form_->Box(name).Widget()->isReadOnly()) << name;
    EXPECT_EQ(form_->Box(name).Widget()->focusPolicy(), Qt::StrongFocus) << name;
  }
  for (const char* name : {"Text1", "Text2", "Text3", "Text8"}) {
    EXPECT_EQ(form_->Box(name).Widget()->TypedLimit(), 3) << name;
    EXPECT_FALSE(form_->Box(name).Widget()->isReadOnly()) << name;
  }
  EXPECT_EQ(form_->Box("Text7").Widget()->TypedLimit(), 0);
  EXPECT_FALSE(form_->Box("Text7").Widget()->isReadOnly());
  // QLineEdit's own maxLength would cut program writes; it must stay out of the way.
  for (const char* name : kTextBoxes) {
    EXPECT_EQ(form_->Box(name).Widget()->maxLength(), std::numeric_limits<int>::max()) << name;
  }
}

TEST_F(Form1WindowTest, ProgramWritesAreNeverCutEvenFarBeyondQtsDefaultMaximum) {
  Build();
  auto text1 = form_->TextBoxNamed("Text1");
  const std::u16string long_text(40000, u'7');
  text1->SetText(long_text);
  EXPECT_EQ(text1->Text(), long_text);
  EXPECT_EQ(form_->Box("Text1").Widget()->text().size(), 40000);
}

TEST_F(Form1WindowTest, WindowIsCentredOnTheScreen) {
  QtHarness harness;
  harness.Build(window::Form1Description());
  harness.Show();
  // The whole window, frame included, as the platform reports it.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect window = harness.form().Window()->frameGeometry();
  EXPECT_NEAR(window.center().x(), screen.center().x(), 1);
  EXPECT_NEAR(window.center().y(), screen.center().y(), 1);
}

// --- Keys --------------------------------------------------------------------------

TEST(Form1KeysTest, Command1IsNeitherDefaultNorCancelAndEnterOrEscapeDoNothing) {
  QtHarness harness;
  Form& form = harness.Build(window::Form1Description());
  harness.Show();
  auto* command1 = qobject_cast<QPushButton*>(harness.Widget("Command1"));
  ASSERT_NE(command1, nullptr);
  EXPECT_FALSE(command1->isDefault());
  EXPECT_FALSE(command1->autoDefault());
  int clicks = 0;
  auto counter = form.ButtonNamed("Command1").OnClick([&] { ++clicks; });

  for (const char* focus : {"Text1", "Text4", "Text7", "Command1"}) {
    SCOPED_TRACE(focus);
    harness.Widget(focus)->setFocus(Qt::OtherFocusReason);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QTest::keyClick(QApplication::focusWidget(), key);
    }
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(harness.WindowOpen());
    EXPECT_EQ(QApplication::focusWidget(), harness.Widget(focus));
  }
  EXPECT_EQ(form.TextBoxNamed("Text1")->Text(), u"255");
  // Space is how the keyboard presses a focused push button.
  QTest::keyClick(command1, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
}

TEST(Form1KeysTest, AMouseClickPlacesTheCaretWhileTabSelectsTheWholeText) {
  QtHarness harness;
  Form& form = harness.Build(window::Form1Description());
  harness.Show();
  QWidget* text2 = harness.Widget("Text2");
  QTest::mouseClick(text2, Qt::LeftButton, Qt::NoModifier, QPoint(1, text2->height() / 2));
  EXPECT_EQ(harness.Focused(), "Text2");
  EXPECT_EQ(harness.SelectionLength("Text2"), 0);
  EXPECT_EQ(form.TextBoxNamed("Text2")->Caret(), 0);
  harness.PressTab(false);
  EXPECT_EQ(harness.SelectionLength("Text3"), 3);
  // Coming back by keyboard selects everything again, whatever was selected.
  harness.Select("Text2", 1, 1);
  harness.PressTab(true);
  EXPECT_EQ(harness.Focused(), "Text2");
  EXPECT_EQ(harness.SelectionLength("Text2"), 3);
}

// --- About box -----------------------------------------------------------------------

TEST(Form1AboutTest, InfoShowsTheModalAboutBoxAndTheWindowIsUnchangedAfterwards) {
  UnhandledErrors().Clear();
  QtHarness harness;
  Form& form = harness.Build(window::Form1Description());
  window::Form1 handlers(form, Locale::Named("C"));
  harness.Show();

  std::map<std::string, std::u16string> before;
  for (const char* name : kTextBoxes) before[name] = form.TextBoxNamed(name)->Text();
  const Colour swatch_before = form.LabelNamed("Label4").BackColour();

  std::vector<contract::ShownMessage> shown;
  bool icon_drawn = false, modal = false, parent_is_window = false;
  {
    MessageBoxAnswerer answerer(&shown, [&](QMessageBox& box) {
      icon_drawn = !box.iconPixmap().isNull();
      modal = box.isModal() && QApplication::activeModalWidget() == &box;
      parent_is_window = box.parentWidget() == harness.form().Window();
    });
    QTest::mouseClick(harness.Widget("Command1"), Qt::LeftButton);
  }

  ASSERT_EQ(shown.size(), 1u);
  EXPECT_THAT(shown[0].lines,
              ::testing::ElementsAre(u"This program helps you to recalculate an RGB value",
                                     u"into a color value for the Varnok Billboard effects.", u"",
                                     u"by Tolvane"));
  EXPECT_EQ(shown[0].title, u"Info");
  EXPECT_TRUE(shown[0].information_icon);
  EXPECT_TRUE(shown[0].only_ok_button);
  EXPECT_TRUE(icon_drawn);
  EXPECT_TRUE(modal);
  EXPECT_TRUE(parent_is_window);

  EXPECT_TRUE(harness.WindowOpen());
  for (const char* name : kTextBoxes) EXPECT_EQ(form.TextBoxNamed(name)->Text(), before[name]) << name;
  EXPECT_EQ(form.LabelNamed("Label4").BackColour(), swatch_before);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(UnhandledErrors().Count(), 0u);
}

}  // namespace
}  // namespace pigmo::runtime::qt::testing
