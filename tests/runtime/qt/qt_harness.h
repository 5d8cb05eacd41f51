// The contract suite's harness for the Qt backend: the user is QTest key
// and mouse events sent to the real widgets; a message box is answered by
// clicking its OK button from inside its modal event loop.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "runtime/contract/harness.h"
#include "runtime/qt/qt_convert.h"
#include "runtime/qt/qt_form.h"

namespace pigmo::runtime::qt::testing {

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
  void PressTab(bool backwards) override {
    QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
  }
  std::string Focused() override {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName().toStdString() : std::string();
  }

  void Click(std::string_view button) override {
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      EXPECT_EQ(box->parentWidget(), form_->Window());  // modal to this window
      messages_.push_back({contract::SplitLines(ToU16String(box->text())), ToU16String(box->windowTitle()),
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

}  // namespace pigmo::runtime::qt::testing
