#include "ui/frame_centring.h"

#include <QEvent>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <iterator>

namespace huecode {
namespace {

// Asked of the window system each time: the widget keeps the first answer,
// which may come before the window manager has framed the window.
QMargins FrameMargins(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->frameMargins() : QMargins();
}

constexpr int kWatchIntervalMs = 25;
constexpr int kWatchTicks = 120;

bool Known(const QMargins& margins) {
  return margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 && margins.bottom() >= 0;
}

}  // namespace

void CentreFrame(QWidget& window, const QRect& area) {
  // Margins that would make the frame smaller than the window are no frame yet.
  const QMargins margins = FrameMargins(window);
  const QSize size = window.geometry().marginsAdded(Known(margins) ? margins : QMargins()).size();
  const QRect frame = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area);
  // A window's position is that of its frame.
  window.move(frame.topLeft());
}

FrameCentring::FrameCentring(QWidget& window, std::function<QRect()> area)
    : QObject(&window), m_window(window), m_area(std::move(area)) {
  window.installEventFilter(this);
  m_watch.setInterval(kWatchIntervalMs);
  connect(&m_watch, &QTimer::timeout, this, [this] {
    CentreIfFramed();
    if (m_framed || ++m_watchTicks >= kWatchTicks) {
      m_watch.stop();
    }
  });
}

void FrameCentring::CentreIfFramed() {
  const QMargins margins = FrameMargins(m_window);
  if (!m_framed && Known(margins) && m_window.windowState() == Qt::WindowNoState &&
      margins != m_centredFor) {
    Centre();
  }
}

void FrameCentring::Centre() {
  m_centredFor = FrameMargins(m_window);
  m_framed = Known(m_centredFor) && !m_centredFor.isNull();
  CentreFrame(m_window, m_area());
}

bool FrameCentring::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &m_window) {
    return QObject::eventFilter(watched, event);
  }
  static constexpr QEvent::Type kFramingEvents[] = {QEvent::Move, QEvent::Resize, QEvent::Paint,
                                                    QEvent::WindowActivate};
  const bool framing = std::find(std::begin(kFramingEvents), std::end(kFramingEvents),
                                 event->type()) != std::end(kFramingEvents);
  if (event->type() == QEvent::Show) {
    Centre();
    m_watchTicks = 0;
    m_watch.start();
  } else if (framing) {
    CentreIfFramed();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace huecode
