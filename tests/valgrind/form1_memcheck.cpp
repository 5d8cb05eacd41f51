// The real window under valgrind: builds the Qt form and Form1's handlers
// as the program does, types a few edits with QTest, opens and answers the
// About message, closes the window and tears everything down. Checks the
// texts it expects, so a run that went wrong is not mistaken for a clean
// one. scripts/memcheck runs it under valgrind on the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>

#include "runtime/dispatch.h"
#include "runtime/locale.h"
#include "runtime/qt/qt_convert.h"
#include "runtime/qt/qt_form.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace {

using namespace pigmo;

int failures = 0;

void Expect(runtime::qt::QtForm& form, const char* name, const char16_t* want) {
  const std::u16string got = form.Box(name).Text();
  if (got != want) {
    ++failures;
    std::fprintf(stderr, "memcheck driver: %s reads \"%s\", expected \"%s\"\n", name,
                 QString::fromStdU16String(got).toUtf8().constData(),
                 QString::fromStdU16String(want).toUtf8().constData());
  }
}

QWidget* Widget(runtime::qt::QtForm& form, const char* name) { return form.ControlWidget(name); }

// Select all and type, as the user replaces a box's text.
void Retype(runtime::qt::QtForm& form, const char* name, const char* keys) {
  QWidget* w = Widget(form, name);
  w->setFocus();
  QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(w, QString::fromUtf8(keys));
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  {
    auto form = runtime::qt::BuildQtForm(window::Form1Description());
    window::Form1 handlers(*form, runtime::Locale::Named("de_DE"));
    form->Show();
    if (!QTest::qWaitForWindowExposed(form->Window())) {
      std::fprintf(stderr, "memcheck driver: the window was never exposed\n");
      return 1;
    }

    Retype(*form, "Text1", "128");
    Retype(*form, "Text2", "");
    QTest::keyClick(Widget(*form, "Text2"), Qt::Key_Backspace);  // empty: becomes 0
    Retype(*form, "Text3", "x");                                 // not a number: 255
    Retype(*form, "Text8", "50");
    QTest::keyClick(Widget(*form, "Text8"), Qt::Key_Tab);
    Retype(*form, "Text7", "pasted over");
    // A negative channel, pasted in one edit (typed, the "-" alone would
    // become 255 first): the swatch keeps its colour.
    QApplication::clipboard()->setText(QStringLiteral("-5"));
    Widget(*form, "Text3")->setFocus();
    QTest::keyClick(Widget(*form, "Text3"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Widget(*form, "Text3"), Qt::Key_V, Qt::ControlModifier);

    Expect(*form, "Text1", u"128");
    Expect(*form, "Text4", u"0.5020");
    Expect(*form, "Text5", u"0");
    Expect(*form, "Text6", u"-0.0196");
    Expect(*form, "Text9", u"0.50");
    Expect(*form, "Text7", u"[0.5020,0,-0.0196,0.50]");

    // The About message: answered from inside its own modal loop.
    QTimer::singleShot(0, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        box->button(QMessageBox::Ok)->click();
      } else {
        ++failures;
        std::fprintf(stderr, "memcheck driver: no message box opened\n");
      }
    });
    QTest::mouseClick(Widget(*form, "Command1"), Qt::LeftButton);

    form->Window()->close();
    QApplication::processEvents();
  }
  QApplication::processEvents();
  if (runtime::UnhandledErrors().Count() != 0) {
    ++failures;
    std::fprintf(stderr, "memcheck driver: an error reached the event dispatch\n");
  }
  std::fprintf(stderr, "memcheck driver: %s\n", failures == 0 ? "all edits as expected" : "FAILED");
  return failures == 0 ? 0 : 1;
}
