#pragma once

#include <QImage>
#include <QWidget>

#include "preview/drawing_surface.h"
#include "ui/picture_surface.h"

namespace huecode {

// A picture box with persistent drawing: every operation draws into the
// image of an owned PictureSurface, and each repaint shows that image, so the
// drawing outlives covering, minimising and resizing until the next Cls.
class PictureBox : public QWidget, public DrawingSurface {
  Q_OBJECT

 public:
  explicit PictureBox(const PictureStyle& style, QWidget* parent = nullptr);

  void Scale(float x1, float y1, float x2, float y2) override;
  void Cls() override;
  void DrawWidth(int pixels) override;
  void Line(float x1, float y1, float x2, float y2, ColourValue colour) override;
  void FontSize(float points) override;
  float FontSize() const override;
  void ForeColor(ColourValue colour) override;
  void CurrentX(float x) override;
  void CurrentY(float y) override;
  void Print(std::u16string_view text) override;
  float ScaleHeight() const override;

  const QImage& image() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PictureSurface m_surface;
};

}  // namespace huecode
