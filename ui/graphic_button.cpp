#include "ui/graphic_button.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "ui/artwork.h"

namespace huecode {

GraphicButton::GraphicButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  setAutoDefault(false);
  setDefault(false);
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
