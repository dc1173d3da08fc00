#include "ui/picture_box.h"

#include <QPainter>

namespace huecode {

// The image is made for the ratio of the screen the box starts on; on
// another screen it is scaled when shown, which keeps it whole.
PictureBox::PictureBox(const PictureStyle& style, QWidget* parent)
    : QWidget(parent), m_surface(style, devicePixelRatioF()) {
  setFixedSize(m_surface.logicalSize());
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_surface.onChanged([this] { update(); });
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_surface.image());
}

}  // namespace huecode
