#include "ui/graphic_button.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyleOptionFocusRect>

#include "ui/artwork.h"

namespace huecode {

GraphicButton::GraphicButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  setAutoDefault(false);
  setDefault(false);
}

bool GraphicButton::event(QEvent* event) {
  // The only shortcut a button receives is its own access key. An ambiguous
  // one, shared with another control, is left to Qt, which moves the focus.
  if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous() &&
      isEnabled()) {
    setFocus(Qt::ShortcutFocusReason);
    click();
    return true;
  }
  return QPushButton::event(event);
}

void GraphicButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !event->isAutoRepeat()) {
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void GraphicButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool down = isDown();
  // A pressed button shows its face one pixel down and to the right.
  const QPoint shift = down ? QPoint(1, 1) : QPoint();
  const QImage picture = ButtonPicture(devicePixelRatioF());
  const QSizeF pictureSize = picture.deviceIndependentSize();
  const QPointF pictureTopLeft((width() - pictureSize.width()) / 2,
                               (height() - pictureSize.height()) / 2);
  painter.drawImage(pictureTopLeft + shift, picture);

  qDrawWinButton(&painter, rect(), palette(), down, nullptr);

  style()->drawItemText(&painter, rect().translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic,
                        palette(), isEnabled(), text(), QPalette::ButtonText);

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

}  // namespace huecode
