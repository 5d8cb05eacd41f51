// What only the Qt text box must get right beyond the contract: the other
// ways a user inserts text into a QLineEdit (context menu, drop, input
// method, redo, keystrokes carrying format characters or surrogate pairs),
// the selection on focus, QLineEdit's maxLength, and a box outliving its widget.
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>

#include "qt_harness.h"
#include "runtime/contract/contract_tests.h"

namespace pigmo::runtime::qt::testing {
namespace {

using contract::ChangeLog;
using contract::Entry;

class LineEditTrapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h_.Build(contract::ContractSpec());
    h_.Show();
  }
  std::shared_ptr<TextBox> Start(const char* name, std::u16string_view start) {
    auto box = h_.form().TextBoxNamed(name);
    box->SetText(start);
    box->SetCaret(static_cast<std::int32_t>(start.size()));
    return box;
  }
  // Triggers the context menu entry starting with `trigger`; returns the entries' texts.
  QStringList Menu(const char* box, const char* trigger = "-") {
    QContextMenuEvent open(QContextMenuEvent::Mouse, {2, 2}, h_.Edit(box)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(h_.Edit(box), &open);
    QStringList texts;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
      texts << action->text().section(QLatin1Char('\t'), 0, 0);
      if (action->text().startsWith(QLatin1String(trigger))) action->trigger();
    }
    if (menu) menu->close();
    return texts;
  }

  QtHarness h_;
};

// Redo, and a paste that is an undo step of its own, as QLineEdit's own is.
TEST_F(LineEditTrapTest, RedoUndoAndContextMenuPasteRaiseOneChangeEachWithinTheLimit) {
  auto box = Start("Limited", u"");
  ChangeLog log(*box);
  h_.Type("Limited", u"7");
  h_.Undo("Limited");
  QTest::keySequence(h_.Edit("Limited"), QKeySequence(QKeySequence::Redo));
  h_.Paste("Limited", u"8");
  h_.Undo("Limited");
  QGuiApplication::clipboard()->setText(QStringLiteral("23456"));
  EXPECT_TRUE(Menu("Limited", "&Paste").contains(QStringLiteral("&Paste")));
  EXPECT_EQ(log.entries,
            (std::vector<Entry>{{u"7", 1}, {u"", 0}, {u"7", 1}, {u"78", 2}, {u"7", 1}, {u"723", 3}}));
  const QStringList read_only = Menu("ReadOnly");
  EXPECT_TRUE(read_only.contains(QStringLiteral("&Copy")));
  EXPECT_FALSE(read_only.contains(QStringLiteral("&Paste")) || read_only.contains(QStringLiteral("Cu&t")));
}

// A move-drag from elsewhere dropped at the box's left edge. An accepted
// move deletes its source, so a drop that inserts nothing must be refused.
TEST_F(LineEditTrapTest, DropsAreCutToTheRoomLeftAndRefusedWithoutRoom) {
  const std::tuple<const char*, std::u16string, std::u16string, std::u16string> cases[] = {
      {"Limited", u"1", u"98765", u"981"}, {"Limited", u"12", u"98", u"912"}, {"Limited", u"123", u"4", u"123"},
      {"Limited", u"12345", u"4", u"12345"}, {"One", u"", u"xy", u"x"}, {"ReadOnly", u"1", u"5", u"1"},
      {"Plain", u"", u"anything at all", u"anything at all"}};
  for (const auto& [name, start, dropped, expected] : cases) {
    SCOPED_TRACE(::testing::Message() << name << " " << ::testing::PrintToString(start));
    auto box = Start(name, start);
    ChangeLog log(*box);
    QMimeData data;
    data.setText(ToQString(dropped));
    const QPoint at(1, h_.Edit(name)->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(h_.Edit(name), &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(h_.Edit(name), &drop);
    EXPECT_EQ(box->Text(), expected);
    EXPECT_EQ(log.entries.size(), expected == start ? 0u : 1u);
    EXPECT_EQ(drop.isAccepted(), expected != start);
  }
}

// An input method commit is cut to the room left plus what it replaces; a
// keystroke is refused whole when its text does not fit: format characters,
// private-use characters and surrogate pairs count like any other, also
// with the Ctrl+Shift that types format characters on Windows.
TEST_F(LineEditTrapTest, CommitsAndKeystrokesOfAnyCharacterCountAgainstTheLimit) {
  const std::tuple<std::u16string, std::u16string, int, std::u16string> commits[] = {
      {u"", u"12345", 0, u"123"}, {u"12", u"xyz", 1, u"1xy"}, {u"123", u"x", 0, u"123"}};
  for (const auto& [start, text, replaced, expected] : commits) {
    auto box = Start("Limited", start);
    QInputMethodEvent commit;
    commit.setCommitString(ToQString(text), -replaced, replaced);
    QApplication::sendEvent(h_.Edit("Limited"), &commit);
    EXPECT_EQ(box->Text(), expected) << ::testing::PrintToString(text);
  }
  const Qt::KeyboardModifiers ctrl_shift = Qt::ControlModifier | Qt::ShiftModifier;
  const std::tuple<std::u16string, std::u16string, Qt::KeyboardModifiers, std::u16string> keys[] = {
      {u"12", u"\u200E", {}, u"12\u200E"}, {u"123", u"\u200E", {}, u"123"}, {u"123", u"\u200E", ctrl_shift, u"123"},
      {u"123", u"\uE000", {}, u"123"}, {u"1", u"\U0001F600", {}, u"1\U0001F600"}, {u"12", u"\U0001F600", {}, u"12"}};
  for (const auto& [start, text, mods, expected] : keys) {
    auto box = Start("Limited", start);
    QtHarness::Key(h_.Edit("Limited"), ToQString(text), mods);
    EXPECT_EQ(box->Text(), expected) << ::testing::PrintToString(text);
  }
}

TEST_F(LineEditTrapTest, AClickPlacesTheCaretWhileKeyboardFocusSelectsTheWholeText) {
  Start("Plain", u"abc");
  QTest::mouseClick(h_.Edit("Plain"), Qt::LeftButton, {}, QPoint(1, h_.Edit("Plain")->height() / 2));
  EXPECT_EQ(h_.Focused(), "Plain");
  EXPECT_EQ(h_.SelectionLength("Plain"), 0);
  h_.PressTab(false);
  h_.Select("Plain", 1, 1);
  h_.PressTab(true);  // back by keyboard: everything selected again
  EXPECT_EQ(h_.Focused(), "Plain");
  EXPECT_EQ(h_.SelectionLength("Plain"), 3);
}

TEST_F(LineEditTrapTest, ProgramWritesPassQtsMaximumLengthAndABoxOutlivesItsWidget) {
  auto box = h_.form().TextBoxNamed("Limited");
  const std::u16string long_text(40000, u'7');
  box->SetText(long_text);
  EXPECT_EQ(box->Text(), long_text);
  EXPECT_EQ(h_.Edit("Limited")->text().size(), 40000);
  h_.Build(contract::ContractSpec());  // the first window is gone
  EXPECT_EQ(box->Text(), long_text);
  ChangeLog log(*box);
  box->SetText(u"still");
  EXPECT_EQ(log.entries, (std::vector<Entry>{{u"still", 0}}));
  box->SetCaret(3);
  EXPECT_EQ(box->Caret(), 0);
}

}  // namespace
}  // namespace pigmo::runtime::qt::testing
