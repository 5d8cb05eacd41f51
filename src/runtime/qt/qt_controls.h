// The runtime's controls on Qt widgets. The window owns the widgets; a
// control that outlives its widget keeps answering from its last state.
#pragma once

#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <optional>

#include "runtime/controls.h"
#include "runtime/qt/line_edit.h"

namespace pigmo::runtime::qt {

// A TextBox over a LineEdit.
//
// The change event comes from two places and never twice for one change:
//   - SetText raises it itself, after QLineEdit::setText has returned and
//     the caret has been put back to 0 (setText leaves it at the end), so
//     listeners already see the caret where the contract puts it. The
//     textChanged signal that setText emits is ignored.
//   - Every user edit reaches textChanged once QLineEdit has placed the
//     caret; the event is raised there, synchronously, unless the text is
//     the same as before (QLineEdit signals an edit that typed a selected
//     character over itself, and an undo that only restores a selection).
// Listeners may write the box again from inside either; QLineEdit has
// finished its own bookkeeping before it emits textChanged.
class QtTextBox final : public TextBox {
 public:
  // `edit` already holds the start text; nothing is raised for it.
  explicit QtTextBox(LineEdit* edit);
  ~QtTextBox() override;
  QtTextBox(const QtTextBox&) = delete;
  QtTextBox& operator=(const QtTextBox&) = delete;

  std::u16string Text() const override;
  void SetText(std::u16string_view text) override;
  std::int32_t Caret() const override;
  void SetCaret(std::int32_t caret) override;

  LineEdit* Widget() const { return edit_.data(); }

 private:
  void OnWidgetTextChanged();

  QPointer<LineEdit> edit_;
  QMetaObject::Connection connection_;
  QString text_;  // the text as last reported: what a change is measured against
  int writing_ = 0;
};

// A Label over a QLabel; its background shows only once a colour is set.
// A label without text describes its colour to assistive tools.
class QtLabel final : public Label {
 public:
  // A colour patch is described by the colour it shows.
  QtLabel(QLabel* label, bool colour_patch);

  std::u16string Caption() const override;
  Colour BackColour() const override;
  void SetBackColour(Colour colour) override;

  QLabel* Widget() const { return label_.data(); }

 private:
  QPointer<QLabel> label_;
  std::u16string caption_;
  Colour back_;
  bool colour_patch_;
  std::optional<Colour> described_;  // the colour the description last named
};

class QtButton final : public Button {
 public:
  QtButton(QPushButton* button, std::u16string caption);
  ~QtButton() override;
  QtButton(const QtButton&) = delete;
  QtButton& operator=(const QtButton&) = delete;

  std::u16string Caption() const override { return caption_; }
  QPushButton* Widget() const { return button_.data(); }

 private:
  QPointer<QPushButton> button_;
  QMetaObject::Connection connection_;
  std::u16string caption_;
};

}  // namespace pigmo::runtime::qt
