// The contract suite's harness for the Qt backend: the user is simulated
// with QTest key and mouse events sent to the real widgets, and message
// boxes are answered by clicking their OK button from inside their modal
// event loop.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "runtime/contract/harness.h"
#include "runtime/qt/qt_convert.h"
#include "runtime/qt/qt_form.h"

namespace pigmo::runtime::qt::testing {

// A message box as the user sees it.
inline contract::ShownMessage Describe(const QMessageBox& box) {
  contract::ShownMessage shown;
  shown.lines = contract::SplitLines(ToU16String(box.text()));
  shown.title = ToU16String(box.windowTitle());
  shown.information_icon = box.icon() == QMessageBox::Information;
  shown.only_ok_button = box.standardButtons() == QMessageBox::Ok && box.buttons().size() == 1;
  return shown;
}

// While alive, answers every modal message box that opens: records it,
// lets `inspect` look at it, then clicks its OK button (or closes it when
// it has none).
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(std::vector<contract::ShownMessage>* shown,
                              std::function<void(QMessageBox&)> inspect = {})
      : shown_(shown), inspect_(std::move(inspect)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  ~MessageBoxAnswerer() { timer_.stop(); }
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    shown_->push_back(Describe(*box));
    if (inspect_) inspect_(*box);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
    } else {
      box->done(0);
    }
  }

  std::vector<contract::ShownMessage>* shown_;
  std::function<void(QMessageBox&)> inspect_;
  QTimer timer_;
};

class QtHarness final : public contract::Harness {
 public:
  ~QtHarness() override { Close(); }

  Form& Build(const FormSpec& description) override {
    Close();
    form_ = BuildQtForm(description);
    return *form_;
  }
  void Show() override {
    form_->Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_->Window())) << "the window never became active";
  }
  bool WindowOpen() override { return form_ && form_->Window()->isVisible(); }

  void Type(std::string_view box, std::u16string_view keys) override {
    QWidget* widget = Widget(box);
    for (const char16_t c : keys) {
      if (c >= 0x20 && c < 0x7F) {
        QTest::keyClick(widget, static_cast<char>(c));
      } else {
        // QTest maps only Latin-1 characters to keys; other text goes in as
        // a key event that carries it.
        const QString text(QChar(static_cast<char16_t>(c)));
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, text, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, text, Qt::NoModifier);
      }
    }
  }
  void Paste(std::string_view box, std::u16string_view clip) override {
    QGuiApplication::clipboard()->setText(ToQString(clip));
    QTest::keyClick(Widget(box), Qt::Key_V, Qt::ControlModifier);
  }
  void Select(std::string_view box, std::int32_t start, std::int32_t length) override {
    QWidget* widget = Widget(box);
    QTest::keyClick(widget, Qt::Key_Home);
    for (std::int32_t i = 0; i < start; ++i) QTest::keyClick(widget, Qt::Key_Right);
    for (std::int32_t i = 0; i < length; ++i) {
      QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier);
    }
  }
  std::int32_t SelectionLength(std::string_view box) override {
    return static_cast<std::int32_t>(Edit(box)->selectedText().size());
  }
  void Backspace(std::string_view box) override { QTest::keyClick(Widget(box), Qt::Key_Backspace); }
  void Delete(std::string_view box) override { QTest::keyClick(Widget(box), Qt::Key_Delete); }
  std::u16string Cut(std::string_view box) override {
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Widget(box), Qt::Key_X, Qt::ControlModifier);
    return ToU16String(QGuiApplication::clipboard()->text());
  }
  std::u16string Copy(std::string_view box) override {
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Widget(box), Qt::Key_C, Qt::ControlModifier);
    return ToU16String(QGuiApplication::clipboard()->text());
  }
  void Undo(std::string_view box) override {
    QTest::keyClick(Widget(box), Qt::Key_Z, Qt::ControlModifier);
  }

  void PressTab(bool backwards) override {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    if (backwards) {
      QTest::keyClick(focused, Qt::Key_Backtab, Qt::ShiftModifier);
    } else {
      QTest::keyClick(focused, Qt::Key_Tab);
    }
  }
  std::string Focused() override {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName().toStdString() : std::string();
  }

  void Click(std::string_view button) override {
    MessageBoxAnswerer answerer(&messages_);
    QTest::mouseClick(Widget(button), Qt::LeftButton);
  }
  std::vector<contract::ShownMessage> Messages() override { return messages_; }

  QtForm& form() { return *form_; }
  QWidget* Widget(std::string_view name) { return form_->ControlWidget(name); }
  QLineEdit* Edit(std::string_view name) { return form_->Box(name).Widget(); }

 private:
  void Close() {
    form_.reset();
    messages_.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  std::unique_ptr<QtForm> form_;
  std::vector<contract::ShownMessage> messages_;
};

}  // namespace pigmo::runtime::qt::testing
