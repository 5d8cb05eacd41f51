#include "runtime/qt/line_edit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>
#include <limits>

namespace pigmo::runtime::qt {

namespace {

// True when QLineEdit would insert the key's text rather than treat the key
// as a command (the same test its key handling makes).
bool TypesText(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return false;
  const QChar first = text.front();
  if (first.category() == QChar::Other_Format) return true;
  const Qt::KeyboardModifiers mods = event.modifiers();
  if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
    return false;
  }
  return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
         (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

}  // namespace

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
  // Never let QLineEdit cut a text; the user's limit is kept below.
  setMaxLength(std::numeric_limits<int>::max());
}

void LineEdit::SetTypedLimit(int limit) { limit_ = std::max(0, limit); }

qsizetype LineEdit::Room() const { return std::max<qsizetype>(0, limit_ - (text().size() - selectedText().size())); }

void LineEdit::SeparateUndoStep() {
  // Moving the caret is what closes an undo step in QLineEdit; a selection
  // is closed anyway when it is replaced.
  if (hasSelectedText()) return;
  const int caret = cursorPosition();
  if (caret > 0) {
    setCursorPosition(caret - 1);
    setCursorPosition(caret);
  } else if (caret < text().size()) {
    setCursorPosition(caret + 1);
    setCursorPosition(caret);
  }
}

void LineEdit::InsertAsUser(QString text) {
  if (isReadOnly()) return;
  if (limit_ > 0) text.truncate(Room());
  if (text.isEmpty() && !hasSelectedText()) return;  // nothing fits: refused
  SeparateUndoStep();
  insert(text);
}

void LineEdit::PasteAsUser(QClipboard::Mode mode) {
  const QString clip = QGuiApplication::clipboard()->text(mode);
  if (clip.isEmpty() && !hasSelectedText()) return;
  InsertAsUser(clip);
}

void LineEdit::keyPressEvent(QKeyEvent* event) {
  if (Limited()) {
    if (event->matches(QKeySequence::Paste)) {
      // Ctrl+Shift+Insert pastes the X11 selection, as in QLineEdit.
      const bool selection = event->key() == Qt::Key_Insert &&
                             event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
                             QGuiApplication::clipboard()->supportsSelection();
      PasteAsUser(selection ? QClipboard::Selection : QClipboard::Clipboard);
      event->accept();
      return;
    }
    if (TypesText(*event) && event->text().size() > Room()) {
      event->accept();  // a keystroke that does not fit is refused whole
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void LineEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (Limited() && !event->commitString().isEmpty()) {
    const qsizetype replaced = std::min<qsizetype>(event->replacementLength(), text().size());
    const qsizetype room = std::max<qsizetype>(0, Room() + replaced);
    if (event->commitString().size() > room) {
      QInputMethodEvent cut(event->preeditString(), event->attributes());
      cut.setCommitString(event->commitString().left(room), event->replacementStart(), event->replacementLength());
      QLineEdit::inputMethodEvent(&cut);
      event->setAccepted(cut.isAccepted());
      return;
    }
  }
  QLineEdit::inputMethodEvent(event);
}

void LineEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (Limited() && event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
    // Middle-click pastes the X11 selection at the caret.
    deselect();
    PasteAsUser(QClipboard::Selection);
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void LineEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  if (!menu) return;
  if (Limited()) {
    for (QAction* action : menu->actions()) {
      // The paste entry is the one wired to QLineEdit::paste (its object
      // name is not set in every Qt version, and Qt has wired it both by
      // member pointer and by signature); it is rewired to the limit.
      const bool paste = QObject::disconnect(action, &QAction::triggered, this, &QLineEdit::paste) ||
                         QObject::disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
                         QObject::disconnect(action, SIGNAL(triggered(bool)), this, SLOT(paste()));
      if (paste) {
        QObject::connect(action, &QAction::triggered, this, [this] { PasteAsUser(); });
      } else if (action->menu()) {
        // The Unicode control character submenu inserts past any limit.
        menu->removeAction(action);
      }
    }
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void LineEdit::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (Limited() && data && data->hasText()) {
    // A drop inserts at the drop point without replacing the selection.
    const qsizetype room = std::max<qsizetype>(0, limit_ - text().size());
    const QString dropped = data->text();
    if (room == 0) {
      event->ignore();
      return;
    }
    if (dropped.size() > room) {
      QMimeData cut_data;
      cut_data.setText(dropped.left(room));
      QDropEvent cut(event->position(), event->possibleActions(), &cut_data, event->buttons(), event->modifiers(),
                     event->type());
      cut.setDropAction(event->dropAction());
      QLineEdit::dropEvent(&cut);
      event->setDropAction(cut.dropAction());
      event->setAccepted(cut.isAccepted());
      return;
    }
  }
  QLineEdit::dropEvent(event);
}

void LineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
    selectAll();
  }
}

}  // namespace pigmo::runtime::qt
