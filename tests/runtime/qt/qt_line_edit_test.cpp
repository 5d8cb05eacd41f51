// What only the Qt text box has to get right beyond the contract: the other
// ways a user inserts text into a QLineEdit (context menu, drop, input
// method, redo, keystrokes that carry format characters or surrogate
// pairs), its caret on focus, its maxLength, and a box outliving its widget.
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>

#include "qt_harness.h"
#include "runtime/contract/contract_tests.h"
#include "window/form1_description.h"

namespace pigmo::runtime::qt::testing {
namespace {

using contract::ChangeLog;
using contract::Entry;
using ::testing::ElementsAre;

class LineEditTrapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h_.Build(contract::ContractSpec());
    h_.Show();
  }
  // Opens the box's context menu and returns its entries by untranslated text.
  QStringList MenuOf(const char* box, const char* trigger = nullptr) {
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(2, 2), h_.Edit(box)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(h_.Edit(box), &open);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QStringList texts;
    if (!menu) return texts;
    for (QAction* action : menu->actions()) {
      texts << action->text().section(QLatin1Char('\t'), 0, 0);
      if (trigger && action->text().startsWith(QLatin1String(trigger))) action->trigger();
    }
    menu->close();
    return texts;
  }

  QtHarness h_;
};

TEST_F(LineEditTrapTest, RedoRaisesOneChangeWithTheCaretInPlace) {
  ChangeLog log(*h_.form().TextBoxNamed("Limited"));
  h_.Type("Limited", u"7");
  h_.Undo("Limited");
  QTest::keySequence(h_.Edit("Limited"), QKeySequence(QKeySequence::Redo));
  EXPECT_THAT(log.entries, ElementsAre(Entry{u"7", 1}, Entry{u"", 0}, Entry{u"7", 1}));
}

TEST_F(LineEditTrapTest, ContextMenuPasteIsCutToTheLimitAndAReadOnlyBoxOffersNone) {
  auto box = h_.form().TextBoxNamed("Limited");
  box->SetText(u"1");
  box->SetCaret(1);
  QGuiApplication::clipboard()->setText(QStringLiteral("23456"));
  ChangeLog log(*box);
  EXPECT_TRUE(MenuOf("Limited", "&Paste").contains(QStringLiteral("&Paste")));
  EXPECT_THAT(log.entries, ElementsAre(Entry{u"123", 3}));
  const QStringList read_only = MenuOf("ReadOnly");
  EXPECT_TRUE(read_only.contains(QStringLiteral("&Copy")));
  EXPECT_FALSE(read_only.contains(QStringLiteral("&Paste")));
  EXPECT_FALSE(read_only.contains(QStringLiteral("Cu&t")));
}

// A move-drag from elsewhere dropped at the box's left edge: a drop that is
// accepted as a move deletes its source, so a refused one must say so.
TEST_F(LineEditTrapTest, DropsAreCutToTheRoomLeftAndRefusedWithoutRoom) {
  struct Case {
    const char* box;
    std::u16string start, dropped, expected;
  };
  const Case cases[] = {
      {"Limited", u"1", u"98765", u"981"},  // cut to the room left
      {"Limited", u"12", u"98", u"912"},    // one character of room
      {"Limited", u"123", u"4", u"123"},    // full: refused
      {"Limited", u"12345", u"4", u"12345"},  // over the limit by a program write
      {"One", u"", u"xy", u"x"},
      {"Plain", u"", u"anything at all", u"anything at all"},
      {"ReadOnly", u"1", u"5", u"1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.box << " " << ::testing::PrintToString(c.start));
    auto box = h_.form().TextBoxNamed(c.box);
    box->SetText(c.start);
    ChangeLog log(*box);
    QMimeData data;
    data.setText(ToQString(c.dropped));
    const QPoint at(1, h_.Edit(c.box)->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h_.Edit(c.box), &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(h_.Edit(c.box), &drop);
    EXPECT_EQ(box->Text(), c.expected);
    EXPECT_EQ(log.entries.size(), c.expected == c.start ? 0u : 1u);
    EXPECT_EQ(drop.isAccepted(), c.expected != c.start);
  }
}

TEST_F(LineEditTrapTest, InputMethodCommitsAreCutToTheRoomTheyLeave) {
  struct Case {
    std::u16string start, commit;
    int replaced;  // code units before the caret the commit replaces
    std::u16string expected;
  };
  const Case cases[] = {{u"", u"12345", 0, u"123"}, {u"12", u"xyz", 1, u"1xy"}, {u"123", u"x", 0, u"123"}};
  for (const Case& c : cases) {
    auto box = h_.form().TextBoxNamed("Limited");
    box->SetText(c.start);
    box->SetCaret(static_cast<std::int32_t>(c.start.size()));
    QInputMethodEvent commit;
    commit.setCommitString(ToQString(c.commit), -c.replaced, c.replaced);
    QApplication::sendEvent(h_.Edit("Limited"), &commit);
    EXPECT_EQ(box->Text(), c.expected) << ::testing::PrintToString(c.commit);
  }
}

// A keystroke is refused whole when its text does not fit: a format
// character, a private-use character and a surrogate pair count like any
// other, also with the Ctrl+Shift that types format characters on Windows.
TEST_F(LineEditTrapTest, KeystrokesOfFormatCharactersAndSurrogatePairsCountAgainstTheLimit) {
  struct Case {
    std::u16string start, key;
    Qt::KeyboardModifiers mods;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"12", u"\u200E", {}, u"12\u200E"},
      {u"123", u"\u200E", {}, u"123"},
      {u"123", u"\u200E", Qt::ControlModifier | Qt::ShiftModifier, u"123"},
      {u"123", u"\uE000", {}, u"123"},
      {u"1", u"\U0001F600", {}, u"1\U0001F600"},
      {u"12", u"\U0001F600", {}, u"12"},
  };
  auto box = h_.form().TextBoxNamed("Limited");
  for (const Case& c : cases) {
    box->SetText(c.start);
    box->SetCaret(3);
    QtHarness::Key(h_.Edit("Limited"), ToQString(c.key), c.mods);
    EXPECT_EQ(box->Text(), c.expected) << ::testing::PrintToString(c.key);
  }
}

TEST_F(LineEditTrapTest, AClickPlacesTheCaretWhileKeyboardFocusSelectsTheWholeText) {
  h_.form().TextBoxNamed("Other")->SetText(u"abc");
  QTest::mouseClick(h_.Edit("Other"), Qt::LeftButton, {}, QPoint(1, h_.Edit("Other")->height() / 2));
  EXPECT_EQ(h_.Focused(), "Other");
  EXPECT_EQ(h_.SelectionLength("Other"), 0);
  h_.PressTab(false);
  h_.Select("Other", 1, 1);
  h_.PressTab(true);  // back by keyboard: everything selected again
  EXPECT_EQ(h_.Focused(), "Other");
  EXPECT_EQ(h_.SelectionLength("Other"), 3);
}

TEST_F(LineEditTrapTest, ProgramWritesAreNeverCutByQtsMaximumLength) {
  auto box = h_.form().TextBoxNamed("Limited");
  const std::u16string long_text(40000, u'7');
  box->SetText(long_text);
  EXPECT_EQ(box->Text(), long_text);
  EXPECT_EQ(h_.Edit("Limited")->text().size(), 40000);
}

TEST_F(LineEditTrapTest, ABoxHeldPastItsWindowKeepsWorkingWithoutTheWidget) {
  auto box = h_.form().TextBoxNamed("Plain");
  box->SetText(u"kept");
  h_.Build(contract::ContractSpec());  // the first window is gone
  EXPECT_EQ(box->Text(), u"kept");
  ChangeLog log(*box);
  box->SetText(u"still");
  EXPECT_THAT(log.entries, ElementsAre(Entry{u"still", 0}));
  box->SetCaret(3);
  EXPECT_EQ(box->Caret(), 0);
}

}  // namespace
}  // namespace pigmo::runtime::qt::testing
