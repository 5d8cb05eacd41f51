// The Qt traps the text box works around, each pinned down: QLineEdit's
// own signals, its caret after setText, its maxLength, and the user's
// other ways to insert text (context menu, drop, input method, redo).
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_harness.h"
#include "runtime/contract/contract_tests.h"

namespace pigmo::runtime::qt::testing {
namespace {

using contract::ChangeLog;
using Entry = ChangeLog::Entry;
using ::testing::ElementsAre;

// A standard context menu entry by its untranslated text.
QAction* FindAction(const QMenu& menu, const char* text) {
  for (QAction* action : menu.actions()) {
    if (action->text().startsWith(QLatin1String(text))) return action;
  }
  return nullptr;
}

class LineEditTrapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UnhandledErrors().Clear();
    harness_.Build(contract::ContractSpec());
    harness_.Show();
  }
  QtForm& form() { return harness_.form(); }
  LineEdit* Edit(const char* name) { return form().Box(name).Widget(); }

  QtHarness harness_;
};

TEST_F(LineEditTrapTest, SetTextLeavesQtsCaretAtZeroNotAtTheEnd) {
  auto box = form().TextBoxNamed("Plain");
  QSignalSpy qt_changes(Edit("Plain"), &QLineEdit::textChanged);
  ChangeLog log(*box);
  box->SetText(u"abcdef");
  EXPECT_EQ(qt_changes.count(), 1);  // Qt's own signal fires once...
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"abcdef", 0}));  // ...and makes no second event
  EXPECT_EQ(Edit("Plain")->cursorPosition(), 0);
}

TEST_F(LineEditTrapTest, QtSignalsATypedOverSelectionOfTheSameCharacterButNothingIsRaised) {
  auto box = form().TextBoxNamed("Plain");
  box->SetText(u"abc");
  harness_.Select("Plain", 1, 1);
  QSignalSpy qt_changes(Edit("Plain"), &QLineEdit::textChanged);
  ChangeLog log(*box);
  harness_.Type("Plain", u"b");
  EXPECT_GE(qt_changes.count(), 1);
  EXPECT_EQ(log.count(), 0u);
  EXPECT_EQ(box->Caret(), 2);
}

TEST_F(LineEditTrapTest, RedoRaisesOneChangeWithTheCaretInPlace) {
  auto box = form().TextBoxNamed("Limited");
  ChangeLog log(*box);
  harness_.Type("Limited", u"7");
  harness_.Undo("Limited");
  const QKeySequence redo = QKeySequence::keyBindings(QKeySequence::Redo).value(0);
  ASSERT_FALSE(redo.isEmpty());
  QTest::keySequence(Edit("Limited"), redo);
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"7", 1}, Entry{u"", 0}, Entry{u"7", 1}));
}

TEST_F(LineEditTrapTest, ContextMenuPasteIsCutToTheLimit) {
  auto box = form().TextBoxNamed("Limited");
  box->SetText(u"1");
  box->SetCaret(1);
  QGuiApplication::clipboard()->setText(QStringLiteral("23456"));
  ChangeLog log(*box);
  QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(2, 2), Edit("Limited")->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(Edit("Limited"), &open);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QAction* paste = FindAction(*menu, "&Paste");
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  menu->close();
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"123", 3}));
}

TEST_F(LineEditTrapTest, ReadOnlyContextMenuOffersNoPaste) {
  QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(2, 2), Edit("ReadOnly")->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(Edit("ReadOnly"), &open);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(FindAction(*menu, "&Paste"), nullptr);
  EXPECT_EQ(FindAction(*menu, "Cu&t"), nullptr);
  EXPECT_NE(FindAction(*menu, "&Copy"), nullptr);
  menu->close();
}

// Drags text in from outside and drops it at the box's left edge.
void Drop(QWidget* target, const QString& text) {
  QMimeData data;
  data.setText(text);
  const QPoint at(1, target->height() / 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

TEST_F(LineEditTrapTest, DroppedTextIsCutToTheRoomLeftAndRefusedWhenFull) {
  auto box = form().TextBoxNamed("Limited");
  box->SetText(u"1");
  ChangeLog log(*box);
  Drop(Edit("Limited"), QStringLiteral("98765"));  // dropped before the "1"
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"981", 2}));
  Drop(Edit("Limited"), QStringLiteral("4"));
  EXPECT_EQ(log.count(), 1u);

  auto plain = form().TextBoxNamed("Plain");
  ChangeLog plain_log(*plain);
  Drop(Edit("Plain"), QStringLiteral("anything at all"));
  EXPECT_EQ(plain->Text(), u"anything at all");
  EXPECT_EQ(plain_log.count(), 1u);

  auto read_only = form().TextBoxNamed("ReadOnly");
  ChangeLog read_only_log(*read_only);
  Drop(Edit("ReadOnly"), QStringLiteral("5"));
  EXPECT_EQ(read_only->Text(), u"1");
  EXPECT_EQ(read_only_log.count(), 0u);
}

TEST_F(LineEditTrapTest, InputMethodCommitIsCutToTheLimit) {
  auto box = form().TextBoxNamed("Limited");
  ChangeLog log(*box);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("12345"));
  QApplication::sendEvent(Edit("Limited"), &commit);
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"123", 3}));
}

TEST_F(LineEditTrapTest, NonLatinKeystrokesAreTypedAndCounted) {
  auto box = form().TextBoxNamed("Limited");
  ChangeLog log(*box);
  harness_.Type("Limited", u"\u20AC\u0416\u4E2D\u00E9");
  EXPECT_EQ(box->Text(), u"\u20AC\u0416\u4E2D");
  EXPECT_EQ(log.count(), 3u);
}

TEST_F(LineEditTrapTest, AWriteFromAnyQtSignalIsRaisedSynchronouslyInsideIt) {
  auto box = form().TextBoxNamed("Other");
  auto* button = qobject_cast<QPushButton*>(harness_.Widget("Go"));
  std::vector<std::string> trace;
  auto listener = box->OnChange([&] { trace.push_back("change"); });
  QObject::connect(button, &QPushButton::pressed, button, [&] {
    trace.push_back("before");
    box->SetText(u"pressed");
    trace.push_back("after");
  });
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(trace, (std::vector<std::string>{"before", "change", "after"}));
  EXPECT_EQ(box->Text(), u"pressed");
}

TEST_F(LineEditTrapTest, ABoxHeldPastItsWindowKeepsWorkingWithoutTheWidget) {
  auto box = form().TextBoxNamed("Plain");
  box->SetText(u"kept");
  harness_.Build(contract::ContractSpec());  // the first window is gone
  EXPECT_EQ(box->Text(), u"kept");
  ChangeLog log(*box);
  box->SetText(u"still");
  EXPECT_THAT(log.entries(), ElementsAre(Entry{u"still", 0}));
  box->SetCaret(3);
  EXPECT_EQ(box->Caret(), 0);
}

}  // namespace
}  // namespace pigmo::runtime::qt::testing
