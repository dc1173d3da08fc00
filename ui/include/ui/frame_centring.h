#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>

class QWidget;

namespace huecode {

// Moves a top-level window so that its frame, title bar and borders included,
// is centred on area.
void CentreFrame(QWidget& window, const QRect& area);

// Centres a top-level window's frame on an area each time the window is shown,
// and once more when the window manager has framed it: only then is the size
// of the frame known, and it differs from one window manager to the next.
// The frame's extents arrive at no fixed moment after the window is mapped and
// with no event of their own, so they are looked for at each move, resize and
// paint, and for three seconds after the showing.
class FrameCentring : public QObject {
 public:
  FrameCentring(QWidget& window, std::function<QRect()> area);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Centre();
  void CentreIfFramed();

  QWidget& m_window;
  std::function<QRect()> m_area;
  QMargins m_centredFor;
  bool m_framed = false;
  QTimer m_watch;
  int m_watchTicks = 0;
};

}  // namespace huecode
