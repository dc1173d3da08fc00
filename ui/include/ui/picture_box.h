#pragma once

#include <QWidget>

#include "render/picture_surface.h"

namespace huecode {

// A picture box with persistent drawing: the previews draw into its surface,
// and each repaint shows the surface's image, so the drawing outlives
// covering, minimising and resizing until the next Cls.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(const PictureStyle& style, QWidget* parent = nullptr);

  PictureSurface& surface() { return m_surface; }
  const PictureSurface& surface() const { return m_surface; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PictureSurface m_surface;
};

}  // namespace huecode
