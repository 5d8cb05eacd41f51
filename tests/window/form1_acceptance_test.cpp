// Acceptance: the program's window, opened as main() opens it, on a private X server (Xvfb, started here), held to
// the window table. Every expected value is typed in from that table; keys and clicks travel through the X server
// (xdotool), as the user's would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <vector>

#include "pigmo_version.h"
#include "program.h"

namespace {

// Counts the key and button releases that reach a window: the test's sign that Qt has taken all it sent through X.
class ReleaseCounter final : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject* to, QEvent* event) override {
    const auto type = event->type();
    if ((type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease) && to->isWindowType()) ++count;
    return false;
  }
};

ReleaseCounter* releases = nullptr;

// Runs xdotool and returns once `released` keys or buttons (a chord like shift+Tab releases two) have reached Qt.
::testing::AssertionResult Xdotool(const QStringList& args, int released) {
  const int goal = releases->count + released;
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), args);
  if (!xdotool.waitForStarted()) return ::testing::AssertionFailure() << "xdotool did not start";
  if (!xdotool.waitForFinished() || xdotool.exitCode() != 0) {
    return ::testing::AssertionFailure() << "xdotool " << args.join(' ').toStdString() << " failed";
  }
  if (!QTest::qWaitFor([&] { return releases->count >= goal; }, 10000)) {
    return ::testing::AssertionFailure() << "the X server never delivered " << args.join(' ').toStdString();
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Keys(const QString& keys) {
  const QStringList list = keys.split(u' ', Qt::SkipEmptyParts);
  return Xdotool(QStringList{QStringLiteral("key")} + list, static_cast<int>(list.size() + keys.count(u'+')));
}

::testing::AssertionResult ClickAt(QWidget* widget, const char* button = "1") {
  const QPoint at = widget->mapToGlobal(widget->rect().center());
  return Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", button}, 1);
}

class Form1Acceptance : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = pigmo::OpenProgram();
    window_ = program_.form->Window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_)) << "the window never became active";
  }
  QWidget* Control(const char* name) { return window_->findChild<QWidget*>(QString::fromUtf8(name)); }
  QString Text(const char* name) { return qobject_cast<QLineEdit*>(Control(name))->text(); }
  static std::string Focused() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : "(nothing)";
  }

  pigmo::Program program_;
  QWidget* window_ = nullptr;
};

TEST_F(Form1Acceptance, WindowShowsEveryControlAsTheTableSays) {
  EXPECT_EQ(window_->windowTitle(), "Pigmo");
  EXPECT_EQ(QGuiApplication::desktopFileName(), "io.github.pigmo.pigmo");  // the task bar's icon and name
  EXPECT_EQ(QGuiApplication::applicationName(), "Pigmo");
  EXPECT_EQ(QGuiApplication::applicationVersion(), PIGMO_VERSION_TEXT);
  EXPECT_EQ(window_->size(), QSize(243, 237));
  // Where Verdana is not installed, the fallback stands in.
  const QString family = QFontDatabase::hasFamily("Verdana") ? "Verdana" : "DejaVu Sans";
  struct Row {
    const char* name;
    QRect px;
    const char* text;
    bool read_only;
  };
  // The colours each text is painted in: colour_schemes_test.sh, from a picture of this window.
  const Row rows[] = {
      {"Text1", {8, 24, 41, 19}, "255", false},         {"Text2", {8, 72, 41, 19}, "255", false},
      {"Text3", {8, 120, 41, 19}, "255", false},        {"Text8", {8, 168, 41, 19}, "100", false},
      {"Text4", {56, 24, 121, 19}, "1", true},          {"Text5", {56, 72, 121, 19}, "1", true},
      {"Text6", {56, 120, 121, 19}, "1", true},         {"Text9", {56, 168, 121, 19}, "1", true},
      {"Text7", {8, 208, 225, 19}, "[1,1,1,1]", false}, {"Label1", {8, 8, 25, 17}, "Rot", false},
      {"Label2", {8, 56, 33, 17}, "Grün", false},       {"Label3", {8, 104, 33, 17}, "Blau", false},
      {"Label4", {192, 24, 41, 137}, "", false},        {"Label5", {8, 152, 41, 17}, "Alpha", false},
      {"Command1", {192, 168, 41, 17}, "Info", false},
  };
  // Text1 holds the start selection in that picture: its red is read here.
  EXPECT_EQ(Control("Text1")->palette().color(QPalette::Text), QColor(255, 0, 0));
  const QImage shown = window_->grab().toImage();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* w = Control(row.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), row.px);
    EXPECT_TRUE(w->isVisible() && w->isEnabled());
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
      EXPECT_EQ(box->text(), QString::fromUtf8(row.text));
      EXPECT_EQ(box->isReadOnly(), row.read_only);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
    } else {
      EXPECT_EQ(qobject_cast<QPushButton*>(w)->text(), QString::fromUtf8(row.text));
    }
    if (*row.text == '\0') {  // the swatch: no text, no font, painted white
      EXPECT_FALSE(w->testAttribute(Qt::WA_SetFont));
      EXPECT_EQ(shown.pixelColor(row.px.center() * shown.devicePixelRatio()), QColor(Qt::white));
      continue;
    }
    const QFont font = w->font();
    EXPECT_EQ(QFontInfo(font).family(), family);
    EXPECT_EQ(font.pointSizeF(), 8.25);
    EXPECT_EQ(QFontInfo(font).pixelSize(), 11);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
  }
}

// Tab walks the boxes and the button in the table's order and Shift+Tab walks back. On the way, real keystrokes
// into each box: a fourth character is refused in an input box, a read-only box takes none, Text7 takes any. No button
// is a default one: Enter and Escape press nothing, in a box or on the button (Space does: the About test).
TEST_F(Form1Acceptance, TabWalksTheTableOrderAndBoxesTakeWhatTheTableAllows) {
  struct Stop {
    const char* name;
    const char* keys;
    const char* text;  // after the keys (and the handlers they run); null for the button
  };
  const Stop stops[] = {
      {"Text1", "1 2 3 4 Return Escape", "123"},
      {"Text2", "2 3 4 5", "234"},
      {"Text3", "1 9 9 9", "199"},
      {"Text8", "0 9 9 9", "099"},
      {"Text4", "7", "0.4824"},
      {"Text5", "7", "0.9176"},
      {"Text6", "7", "0.7804"},
      {"Text9", "7", "0.99"},
      {"Text7", "x", "x"},
      {"Command1", "Return KP_Enter Escape", nullptr},
  };
  for (const Stop& stop : stops) {
    ASSERT_EQ(Focused(), stop.name);
    ASSERT_TRUE(Keys(QString::fromUtf8(stop.keys) + " Tab"));
    if (stop.text) {
      EXPECT_EQ(Text(stop.name), stop.text) << stop.name;
    }
  }
  EXPECT_EQ(Focused(), "Text1");
  for (auto stop = std::rbegin(stops); stop != std::rend(stops); ++stop) {
    ASSERT_TRUE(Keys("shift+Tab"));
    EXPECT_EQ(Focused(), stop->name);
  }
}

// X's middle-click paste of the selection keeps the typed limit too; a left click pastes nothing.
TEST_F(Form1Acceptance, MiddleClickPastesTheSelectionOnlyWhereItFits) {
  QGuiApplication::clipboard()->setText("12345", QClipboard::Selection);
  ASSERT_TRUE(Keys("BackSpace"));  // Text1's whole text, selected at the start: an emptied box shows 0
  ASSERT_TRUE(ClickAt(Control("Text1"), "2"));
  EXPECT_EQ(Text("Text1"), "012");
  const QString text7 = Text("Text7");
  ASSERT_TRUE(ClickAt(Control("Text7")));
  EXPECT_EQ(Text("Text7"), text7);
  ASSERT_TRUE(ClickAt(Control("Text7"), "2"));
  EXPECT_TRUE(Text("Text7").contains("12345")) << Text("Text7").toStdString();
}

TEST_F(Form1Acceptance, InfoShowsTheAboutMessageModalToTheWindow) {
  std::vector<std::string> seen;
  bool answering = false;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (answering || !box || !box->windowHandle() || !box->windowHandle()->isExposed()) return;
    if (!seen.empty()) return box->done(0);  // not closed by its button: end it all the same
    seen.push_back(box->windowTitle().toStdString());
    seen.push_back(box->text().toStdString());
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->parentWidget(), window_);
    EXPECT_EQ(box->windowHandle()->transientParent(), window_->windowHandle());
    EXPECT_TRUE(box->isModal());
    const QList<QAbstractButton*> buttons = box->buttons();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(box->standardButton(buttons[0]), QMessageBox::Ok);
    answering = true;
    EXPECT_TRUE(ClickAt(buttons[0]));
    answering = false;
  });
  look.start(10);
  ASSERT_TRUE(Keys("shift+Tab"));  // from Text1 to the button
  ASSERT_TRUE(Keys("space"));
  look.stop();
  EXPECT_EQ(seen, (std::vector<std::string>{"Info",
                                            "This program helps you to recalculate an RGB value\n"
                                            "into a color value for the Varnok Billboard effects.\n\n"
                                            "by Tolvane"}));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Text("Text1"), "255");
  EXPECT_EQ(Text("Text7"), "[1,1,1,1]");
}

}  // namespace

int main(int argc, char** argv) {
  // A private X server for every run, so that the test needs nothing running and sees no one else's windows.
  if (!qEnvironmentVariableIsSet("PIGMO_ACCEPTANCE_ON_XVFB")) {
    qputenv("PIGMO_ACCEPTANCE_ON_XVFB", "1");
    std::vector<char*> args{const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                            const_cast<char*>("-screen 0 1024x768x24 -nolisten tcp -noreset")};
    args.insert(args.end(), argv, argv + argc + 1);
    execvp(args[0], args.data());
    std::fprintf(stderr, "FAIL: xvfb-run is not installed\n");
    return 1;
  }
  if (QStandardPaths::findExecutable("xdotool").isEmpty()) {
    std::fprintf(stderr, "FAIL: xdotool is not installed\n");
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  for (const char* var : {"WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"}) {
    qunsetenv(var);
  }
  qputenv("LC_ALL", "en_US.UTF-8");  // "." in the fraction texts above
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  ReleaseCounter counter;
  releases = &counter;
  app.installEventFilter(&counter);
  return RUN_ALL_TESTS();
}
