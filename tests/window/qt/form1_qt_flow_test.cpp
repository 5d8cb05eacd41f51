#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/dispatch.h"
#include "runtime/locale.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::window {
namespace {

class QtForm1 {
 public:
  explicit QtForm1(const char* locale)
      : form(runtime::qt::BuildQtForm(Form1Description())),
        handlers(*form, runtime::Locale::Named(locale)) {
    runtime::UnhandledErrors().Clear();
    form->Show();
    QApplication::setActiveWindow(form->Window());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form->Window()));
  }

  QLineEdit* Edit(const char* name) {
    return qobject_cast<QLineEdit*>(form->ControlWidget(name));
  }
  QString Text(const char* name) { return Edit(name)->text(); }
  // Read back from the label itself, as the user sees it.
  QColor Swatch() {
    auto* label = qobject_cast<QLabel*>(form->ControlWidget("Label4"));
    return label->palette().color(label->backgroundRole());
  }
  void Type(const char* name, const QString& keys) {
    Edit(name)->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(Edit(name), keys);
  }
  void TypeOver(const char* name, const QString& keys) {
    Edit(name)->setFocus(Qt::OtherFocusReason);
    Edit(name)->selectAll();
    QTest::keyClicks(Edit(name), keys);
  }

  std::unique_ptr<runtime::qt::QtForm> form;
  Form1 handlers;
};

class Form1QtFlowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u); }
};

TEST_F(Form1QtFlowTest, TypingOverTheFullRedBoxAtStart) {
  QtForm1 w("en_US");
  ASSERT_EQ(QApplication::focusWidget(), w.Edit("Text1"));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("128"));
  EXPECT_EQ(w.Text("Text1"), QStringLiteral("128"));
  EXPECT_EQ(w.Text("Text4"), QStringLiteral("0.5020"));
  EXPECT_EQ(w.Text("Text7"), QStringLiteral("[0.5020,1,1,1]"));
  EXPECT_EQ(w.Swatch(), QColor(128, 255, 255));
}

TEST_F(Form1QtFlowTest, AFourthCharacterIsRefused) {
  QtForm1 w("en_US");
  w.TypeOver("Text2", QStringLiteral("1234"));
  EXPECT_EQ(w.Text("Text2"), QStringLiteral("123"));
  EXPECT_EQ(w.Text("Text5"), QStringLiteral("0.4824"));
  EXPECT_EQ(w.Swatch(), QColor(255, 123, 255));
}

TEST_F(Form1QtFlowTest, CorrectionsHappenWhileTyping) {
  QtForm1 w("en_US");
  w.TypeOver("Text2", QStringLiteral("300"));
  EXPECT_EQ(w.Text("Text2"), QStringLiteral("255"));
  EXPECT_EQ(w.Text("Text5"), QStringLiteral("1"));
  w.TypeOver("Text3", QStringLiteral("a"));
  EXPECT_EQ(w.Text("Text3"), QStringLiteral("255"));
  w.Edit("Text1")->setFocus(Qt::OtherFocusReason);
  w.Edit("Text1")->selectAll();
  QTest::keyClick(w.Edit("Text1"), Qt::Key_Backspace);
  EXPECT_EQ(w.Text("Text1"), QStringLiteral("0"));
  EXPECT_EQ(w.Text("Text4"), QStringLiteral("0"));
  EXPECT_EQ(w.Text("Text7"), QStringLiteral("[0,1,1,1]"));
  EXPECT_EQ(w.Swatch(), QColor(0, 255, 255));
}

TEST_F(Form1QtFlowTest, OpacityLeavesTheSwatch) {
  QtForm1 w("en_US");
  w.TypeOver("Text1", QStringLiteral("64"));
  const QColor before = w.Swatch();
  w.TypeOver("Text8", QStringLiteral("50"));
  EXPECT_EQ(w.Text("Text9"), QStringLiteral("0.50"));
  EXPECT_EQ(w.Text("Text7"), QStringLiteral("[0.2510,1,1,0.50]"));
  EXPECT_EQ(w.Swatch(), before);
}

TEST_F(Form1QtFlowTest, TypingIntoAReadOnlyBoxChangesNothing) {
  QtForm1 w("en_US");
  w.Type("Text4", QStringLiteral("5"));
  QTest::keyClick(w.Edit("Text4"), Qt::Key_Backspace);
  EXPECT_EQ(w.Text("Text4"), QStringLiteral("1"));
  EXPECT_EQ(w.handlers.cRestrictObject(), nullptr);
}

TEST_F(Form1QtFlowTest, CommaAndPersianLocalesStillWriteAPoint) {
  for (const char* locale : {"de_DE", "fa_IR"}) {
    SCOPED_TRACE(locale);
    QtForm1 w(locale);
    w.TypeOver("Text1", QStringLiteral("128"));
    EXPECT_EQ(w.Text("Text4"), QStringLiteral("0.5020"));
    EXPECT_EQ(w.Text("Text7"), QStringLiteral("[0.5020,1,1,1]"));
  }
}

}  // namespace
}  // namespace pigmo::window

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
