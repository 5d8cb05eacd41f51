// Form1 on real QLineEdits: keystrokes reach Text7 and the swatch (the flow itself is checked in memory).
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "runtime/dispatch.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace pigmo::window {
namespace {

TEST(Form1QtSmokeTest, TypingIntoText1UpdatesText7AndTheSwatch) {
  runtime::UnhandledErrors().Clear();
  auto form = runtime::qt::BuildQtForm(Form1Description());
  Form1 handlers(*form, runtime::Locale::Named("en_US"));
  form->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form->Window()));
  ASSERT_EQ(QApplication::focusWidget(), form->ControlWidget("Text1"));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("128"));
  EXPECT_EQ(form->TextBoxNamed("Text7")->Text(), u"[0.5020,1,1,1]");
  EXPECT_EQ(form->LabelNamed("Label4").BackColour(), 0xFFFF80u);  // 0x00BBGGRR
  EXPECT_EQ(runtime::UnhandledErrors().Count(), 0u);
}

}  // namespace
}  // namespace pigmo::window
