// The QLineEdit behind every text box.
//
// Two things differ from a plain QLineEdit:
//   - The typed-length limit binds the user only. QLineEdit's own maxLength
//     also cuts setText() and truncates the text whenever it is set, so it
//     stays at its largest value; instead the limit is applied on every path
//     by which the user inserts text: typed keys, the paste keys, the context
//     menu, middle-click paste, drop and input-method commits. As in a
//     native edit control, a key that does not fit is refused and a paste is
//     cut to the room that is left.
//   - The whole text is selected whenever the box takes the focus from the
//     keyboard (Tab, Shift+Tab, a shortcut), whatever was selected before;
//     a mouse click places the caret as usual.
#pragma once

#include <QClipboard>
#include <QLineEdit>

namespace pigmo::runtime::qt {

class LineEdit final : public QLineEdit {
 public:
  explicit LineEdit(QWidget* parent = nullptr);

  // The most code units the user may type or paste; 0 means no limit.
  void SetTypedLimit(int limit);
  int TypedLimit() const { return limit_; }

  // Inserts `text` as the user would: it replaces the selection and is cut
  // to the room the limit leaves. A read-only box takes nothing.
  void InsertAsUser(QString text);
  void PasteAsUser(QClipboard::Mode mode = QClipboard::Clipboard);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  bool Limited() const { return limit_ > 0 && !isReadOnly(); }
  // How many code units may replace the selection.
  qsizetype Room() const;
  // Starts a new undo step, as QLineEdit's own paste does.
  void SeparateUndoStep();

  int limit_ = 0;
};

}  // namespace pigmo::runtime::qt
