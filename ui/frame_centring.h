#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <functional>

class QWidget;

namespace huecode {

// Moves a top-level window so that its frame, title bar and borders included,
// is centred on area.
void CentreFrame(QWidget& window, const QRect& area);

// Centres a top-level window's frame on an area each time the window is shown,
// and once more when the window manager has framed it: only then is the size
// of the frame known, and it differs from one window manager to the next.
// A window the user has moved since keeps its place.
class FrameCentring : public QObject {
 public:
  FrameCentring(QWidget& window, std::function<QRect()> area);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Centre();

  QWidget& m_window;
  std::function<QRect()> m_area;
  QMargins m_centredFor;
  bool m_framed = false;
};

}  // namespace huecode
