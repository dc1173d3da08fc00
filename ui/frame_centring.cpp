#include "ui/frame_centring.h"

#include <QEvent>
#include <QStyle>
#include <QWidget>

namespace huecode {
namespace {

QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

}  // namespace

void CentreFrame(QWidget& window, const QRect& area) {
  const QRect frame =
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.frameGeometry().size(), area);
  // A window's position is that of its frame.
  window.move(frame.topLeft());
}

FrameCentring::FrameCentring(QWidget& window, std::function<QRect()> area)
    : QObject(&window), m_window(window), m_area(std::move(area)) {
  window.installEventFilter(this);
}

void FrameCentring::Centre() {
  m_centredFor = FrameMargins(m_window);
  m_framed = !m_centredFor.isNull();
  CentreFrame(m_window, m_area());
}

bool FrameCentring::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_window) {
    const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (event->type() == QEvent::Show) {
      Centre();
    } else if (placed && !m_framed && m_window.windowState() == Qt::WindowNoState &&
               FrameMargins(m_window) != m_centredFor) {
      Centre();
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace huecode
