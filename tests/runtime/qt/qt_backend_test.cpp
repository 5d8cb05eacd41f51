// The Qt backend: the contract suite driven by QTest key and mouse events on the real widgets; what only QLineEdit must
// get right beyond it; Form1's window against its description.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

#include "runtime/contract/contract_tests.h"
#include "runtime/qt/qt_convert.h"
#include "runtime/qt/qt_form.h"
#include "window/form1_description.h"

namespace pigmo::runtime::qt::testing {
namespace {

using contract::ChangeLog;
using contract::Entry;

class QtHarness final : public contract::Harness {
 public:
  Form& Build(const FormSpec& description) override {
    form_.reset();
    messages_.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form_ = BuildQtForm(description);
    return *form_;
  }
  void Show() override {
    form_->Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_->Window())) << "the window never became active";
  }
  bool WindowOpen() override { return form_->Window()->isVisible(); }

  void Type(std::string_view box, std::u16string_view keys) override {
    for (const char16_t c : keys) Key(Widget(box), QString(QChar(c)));
  }
  void Paste(std::string_view box, std::u16string_view clip) override {
    QGuiApplication::clipboard()->setText(ToQString(clip));
    Press(box, Qt::Key_V, Qt::ControlModifier);
  }
  void Select(std::string_view box, std::int32_t start, std::int32_t length) override {
    Press(box, Qt::Key_Home);
    for (std::int32_t i = 0; i < start + length; ++i) {
      Press(box, Qt::Key_Right, i < start ? Qt::NoModifier : Qt::ShiftModifier);
    }
  }
  std::int32_t SelectionLength(std::string_view box) override {
    return static_cast<std::int32_t>(Edit(box)->selectedText().size());
  }
  void Backspace(std::string_view box) override { Press(box, Qt::Key_Backspace); }
  void Delete(std::string_view box) override { Press(box, Qt::Key_Delete); }
  std::u16string Cut(std::string_view box) override { return ClipboardAfter(box, Qt::Key_X); }
  std::u16string Copy(std::string_view box) override { return ClipboardAfter(box, Qt::Key_C); }
  void Undo(std::string_view box) override { Press(box, Qt::Key_Z, Qt::ControlModifier); }
  void Click(std::string_view button) override {
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      EXPECT_EQ(box->parentWidget(), form_->Window());  // modal to this window
      messages_.push_back({ToU16String(box->text()), ToU16String(box->windowTitle()),
                           box->icon() == QMessageBox::Information && !box->iconPixmap().isNull(),
                           box->buttons().size() == 1 && box->button(QMessageBox::Ok)});
      box->buttons().size() == 1 ? box->buttons().front()->click() : box->done(0);
    });
    answer.start(0);
    QTest::mouseClick(Widget(button), Qt::LeftButton);
  }
  std::vector<contract::ShownMessage> Messages() override { return messages_; }

  // A keystroke that carries `text`, as a keyboard layout or an input method sends it.
  static void Key(QWidget* widget, const QString& text, Qt::KeyboardModifiers mods = {}) {
    const bool ascii = text.size() == 1 && text[0] >= u' ' && text[0] < u'\x7F';
    const auto key = Qt::Key(ascii ? text[0].toUpper().unicode() : int(Qt::Key_unknown));
    QTest::sendKeyEvent(QTest::Press, widget, key, text, mods);
    QTest::sendKeyEvent(QTest::Release, widget, key, text, mods);
  }
  QtForm& form() { return *form_; }
  QWidget* Widget(std::string_view name) { return form_->ControlWidget(name); }
  LineEdit* Edit(std::string_view name) { return form_->Box(name).Widget(); }

 private:
  void Press(std::string_view box, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(Widget(box), key, mods);
  }
  std::u16string ClipboardAfter(std::string_view box, Qt::Key key) {
    QGuiApplication::clipboard()->clear();
    Press(box, key, Qt::ControlModifier);
    return ToU16String(QGuiApplication::clipboard()->text());
  }

  std::unique_ptr<QtForm> form_;
  std::vector<contract::ShownMessage> messages_;
};

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
  // Triggers the context menu's entry starting with `entry`; false when the menu has none.
  bool Menu(const char* box, const char* entry) {
    QContextMenuEvent open(QContextMenuEvent::Mouse, {2, 2}, h_.Edit(box)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(h_.Edit(box), &open);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    bool found = false;
    for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
      if (!action->text().startsWith(QLatin1String(entry))) continue;
      found = true;
      action->trigger();
    }
    if (menu) menu->close();
    return found;
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
  EXPECT_TRUE(Menu("Limited", "&Paste"));
  EXPECT_EQ(log.entries, (std::vector<Entry>{{u"7", 1}, {u"", 0}, {u"7", 1}, {u"78", 2}, {u"7", 1}, {u"723", 3}}));
}

// Shortcuts work in a full box: only keys that type text are refused there.
TEST_F(LineEditTrapTest, ShortcutsStillWorkInAFullBox) {
  auto box = Start("Limited", u"123");
  QTest::keyClick(h_.Edit("Limited"), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(qobject_cast<QLineEdit*>(h_.Edit("Limited"))->selectedText(), "123");
}

// A message's line breaks, as Windows writes them or alone, become Qt's.
TEST(QtConvertTest, LineBreaks) { EXPECT_EQ(WithLineBreaks(u"a\rb\r\nc"), "a\nb\nc"); }

// Other ways text gets in, each cut to the room left (plus what it replaces) or refused whole: a move-drag dropped at
// the left edge (an accepted move deletes its source, so a drop inserting nothing must be refused), an input method's
// commit, and keystrokes of format, private-use or surrogate-pair characters, also with the Ctrl+Shift that types
// format characters on Windows.
TEST_F(LineEditTrapTest, DropsCommitsAndKeystrokesOfAnyCharacterKeepTheLimit) {
  enum How { kDrop, kCommit, kCommitOverOne, kKey, kCtrlShiftKey };
  const std::tuple<How, const char*, std::u16string, std::u16string, std::u16string> cases[] = {
      {kDrop, "Limited", u"1", u"98765", u"981"},    {kDrop, "Limited", u"12", u"98", u"912"},
      {kDrop, "Limited", u"123", u"4", u"123"},      {kDrop, "One", u"", u"xy", u"x"},
      {kDrop, "ReadOnly", u"1", u"5", u"1"},         {kDrop, "Plain", u"", u"anything at all", u"anything at all"},
      {kCommit, "Limited", u"", u"12345", u"123"},   {kCommitOverOne, "Limited", u"12", u"xyz", u"1xy"},
      {kCommit, "Limited", u"123", u"x", u"123"},    {kKey, "Limited", u"12", u"\u200E", u"12\u200E"},
      {kKey, "Limited", u"123", u"\u200E", u"123"},  {kCtrlShiftKey, "Limited", u"123", u"\u200E", u"123"},
      {kKey, "Limited", u"123", u"\uE000", u"123"},  {kKey, "Limited", u"1", u"\U0001F600", u"1\U0001F600"},
      {kKey, "Limited", u"12", u"\U0001F600", u"12"}};
  for (const auto& [how, name, start, text, expected] : cases) {
    SCOPED_TRACE(::testing::Message() << how << " " << name << " " << ::testing::PrintToString(start + u"+" + text));
    auto box = Start(name, start);
    ChangeLog log(*box);
    QWidget* edit = h_.Edit(name);
    if (how == kDrop) {
      QMimeData data;
      data.setText(ToQString(text));
      const QPoint at(1, edit->height() / 2);
      QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(edit, &enter);
      QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
      drop.setDropAction(Qt::MoveAction);
      QApplication::sendEvent(edit, &drop);
      EXPECT_EQ(drop.isAccepted(), expected != start);
    } else if (how == kCommit || how == kCommitOverOne) {
      QInputMethodEvent commit;
      const int replaced = how == kCommitOverOne ? 1 : 0;
      commit.setCommitString(ToQString(text), -replaced, replaced);
      QApplication::sendEvent(edit, &commit);
    } else {
      QtHarness::Key(edit, ToQString(text), how == kKey ? Qt::NoModifier : Qt::ControlModifier | Qt::ShiftModifier);
    }
    EXPECT_EQ(box->Text(), expected);
    EXPECT_EQ(log.entries.size(), expected == start ? 0u : 1u);
  }
}

int Px(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440)); }

// At 144 dpi (form1_acceptance holds the window at 96 dpi to the table): every size scales, and what only this
// backend sets stays as at any scale.
TEST(QtForm1Test, EveryControlScalesAndIsNamedAsDescribed) {
  const FormSpec& d = window::Form1Description();
  const double dpi = 144, screen_dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  auto form = BuildQtForm(d, {.dpi = dpi});
  const QSize client(Px(d.client_width, dpi), Px(d.client_height, dpi));
  form->Window()->resize(client * 2);
  EXPECT_EQ(form->Window()->size(), client);
  EXPECT_EQ(form->Window()->minimumSize(), client);
  EXPECT_EQ(form->Window()->maximumSize(), client);
  QStringList names;
  for (const ControlSpec& c : d.controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = form->ControlWidget(c.name);
    const TwipRect& b = c.bounds;
    EXPECT_EQ(w->geometry(), QRect(Px(b.left, dpi), Px(b.top, dpi), Px(b.width, dpi), Px(b.height, dpi)));
    EXPECT_TRUE(QRect(QPoint(), client).contains(w->geometry()));
    EXPECT_EQ(w->accessibleName(), ToQString(c.accessible_name));
    EXPECT_TRUE(c.accessible_description.empty() || w->accessibleDescription() == ToQString(c.accessible_description));
    EXPECT_FALSE(w->accessibleName().isEmpty() || names.contains(w->accessibleName()));  // read aloud, told apart
    names << w->accessibleName();
    // The face, weight, styles and typed limits do not depend on the scale: form1_acceptance holds them.
    if (c.uses_font) {
      EXPECT_DOUBLE_EQ(w->font().pointSizeF(), d.font.points * dpi / screen_dpi);
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->textFormat(), Qt::PlainText);
      EXPECT_FALSE(label->wordWrap());
      EXPECT_EQ(label->autoFillBackground(), c.back_colour.has_value());
    }
  }
}

// Captions tied to their boxes, the swatch's colour in words after every change, the window's role and
// every shipped icon size.
TEST(QtForm1Test, AssistiveToolsLearnCaptionsTheColourTheRoleAndIcons) {
  const auto form = BuildQtForm(window::Form1Description());
  const auto access = [&](const char* n) { return QAccessible::queryAccessibleInterface(form->ControlWidget(n)); };
  const auto says = [&](const char* name) { return access(name)->text(QAccessible::Description); };
  for (const auto& [box, caption] :
       {std::pair{"Text1", "Rot"}, {"Text2", "Grün"}, {"Text3", "Blau"}, {"Text8", "Alpha"}}) {
    const auto labels = access(box)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1) << box;
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), QString::fromUtf8(caption));
  }
  EXPECT_TRUE(access("Text4")->relations(QAccessible::Label).isEmpty());
  EXPECT_EQ(says("Label4"), "White: red 255, green 255, blue 255");
  form->LabelNamed("Label1").SetBackColour(0x000000FF);
  EXPECT_EQ(says("Label1"), QString());  // a caption is read as it is, whatever its colour
  form->LabelNamed("Label4").SetBackColour(0x00008000);
  EXPECT_EQ(says("Label4"), "Dark green: red 0, green 128, blue 0");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Window())->role(), QAccessible::Window);
  const QList<QSize> sizes = form->Window()->windowIcon().availableSizes();
  for (const int size : {16, 32, 48, 64, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

}  // namespace
}  // namespace pigmo::runtime::qt::testing

namespace pigmo::runtime::contract {
using QtBackend = ::testing::Types<qt::testing::QtHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, RuntimeContract, QtBackend);
}  // namespace pigmo::runtime::contract

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleMock(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
