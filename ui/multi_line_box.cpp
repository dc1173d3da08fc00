#include "ui/multi_line_box.h"

#include <QKeyEvent>
#include <QMimeData>

#include "ui/text_box.h"

namespace huecode {

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // A converted paragraph can be millions of characters in one block, laid
  // out whole; skipping the shaping that plain Chinese and Latin text does not
  // need saves about a third of that time. Only the strategy is set, so the
  // rest of the font still comes from the window.
  QFont strategy;
  strategy.setStyleStrategy(QFont::PreferNoShaping);
  setFont(strategy);
}

void MultiLineBox::keyPressEvent(QKeyEvent* event) {
  constexpr Qt::KeyboardModifiers kCommandModifiers =
      Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  // Qt would start a new block in the format of the current one, which records
  // the line end in front of that block, or put a line separator into it.
  if (enter && !(event->modifiers() & kCommandModifiers) && !isReadOnly()) {
    QTextCursor cursor = textCursor();
    InsertTypedLineBreak(cursor);
    setTextCursor(cursor);
    ensureCursorVisible();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

QMimeData* MultiLineBox::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  auto* mime = new QMimeData;
  mime->setText(DocumentText(*document(), cursor.selectionStart(), cursor.selectionEnd()));
  return mime;
}

void MultiLineBox::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText() || isReadOnly()) {
    return;
  }
  QTextCursor cursor = textCursor();
  InsertText(cursor, source->text());
  setTextCursor(cursor);
  ensureCursorVisible();
}

}  // namespace huecode
