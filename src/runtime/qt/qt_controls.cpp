#include "runtime/qt/qt_controls.h"

#include <QPalette>
#include <utility>

#include "runtime/colour_words.h"
#include "runtime/dispatch.h"
#include "runtime/qt/qt_convert.h"

namespace pigmo::runtime::qt {

QtTextBox::QtTextBox(LineEdit* edit)
    : TextBox(edit->isReadOnly(), edit->TypedLimit()), edit_(edit), text_(edit->text()) {
  // The event contains whatever its listeners throw; the bookkeeping around
  // it is contained too, so that nothing unwinds through Qt.
  connection_ = QObject::connect(edit, &QLineEdit::textChanged, edit,
                                 [this]() noexcept { Contained([this] { OnWidgetTextChanged(); }); });
}

QtTextBox::~QtTextBox() { QObject::disconnect(connection_); }

std::u16string QtTextBox::Text() const { return ToU16String(text_); }

void QtTextBox::SetText(std::u16string_view text) {
  const QString next = ToQString(text);
  // QString compares code unit for code unit.
  const bool changed = next != text_;
  text_ = next;
  if (edit_) {
    ++writing_;
    edit_->setText(next);  // also ends the user's undo history
    edit_->setCursorPosition(0);
    --writing_;
  }
  if (changed) RaiseChange();
}

std::int32_t QtTextBox::Caret() const {
  if (!edit_) return 0;
  return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
}

void QtTextBox::SetCaret(std::int32_t caret) {
  const std::int32_t place = PlaceCaret(caret, static_cast<std::size_t>(text_.size()));
  if (edit_) edit_->setCursorPosition(place);  // also ends any selection
}

void QtTextBox::OnWidgetTextChanged() {
  if (writing_ > 0 || !edit_) return;
  QString now = edit_->text();
  if (now == text_) return;
  text_ = std::move(now);
  RaiseChange();
}

QtLabel::QtLabel(QLabel* label, bool colour_patch)
    : label_(label),
      caption_(ToU16String(label->text())),
      back_(FromQColor(label->palette().color(QPalette::Window))),
      colour_patch_(colour_patch) {}

std::u16string QtLabel::Caption() const { return caption_; }

Colour QtLabel::BackColour() const { return label_ ? FromQColor(label_->palette().color(QPalette::Window)) : back_; }

void QtLabel::SetBackColour(Colour colour) {
  back_ = colour & 0x00FFFFFFu;
  if (!label_) return;
  QPalette palette = label_->palette();
  palette.setColor(QPalette::Window, ToQColor(back_));
  label_->setPalette(palette);
  label_->setAutoFillBackground(true);
  // A colour patch says which colour it shows.
  // Qt announces the new description to listening tools itself. Most
  // keystrokes repaint the swatch in the colour it has: nothing new to say.
  if (colour_patch_ && described_ != back_) {
    label_->setAccessibleDescription(ToQString(ColourInWords(back_)));
    described_ = back_;
  }
}

QtButton::QtButton(QPushButton* button, std::u16string caption) : button_(button), caption_(std::move(caption)) {
  connection_ = QObject::connect(button, &QPushButton::clicked, button, [this]() noexcept { RaiseClick(); });
}

QtButton::~QtButton() { QObject::disconnect(connection_); }

}  // namespace pigmo::runtime::qt
