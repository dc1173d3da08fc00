#include "ui/frame_box.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

namespace huecode {

FrameBox::FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void FrameBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const int lineY = metrics.height() / 2;
  qDrawShadeRect(&painter, QRect(0, lineY, width(), height() - lineY), palette(), true, 1);
  if (title().isEmpty()) {
    return;
  }
  const QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
  painter.fillRect(caption, palette().color(QPalette::Window));
  style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                        QPalette::ButtonText);
}

}  // namespace huecode
