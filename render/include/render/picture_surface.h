#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <functional>
#include <memory>

#include "preview/drawing_surface.h"

namespace huecode {

enum class PictureBorder { FixedSingle, Sunken3D };

struct PictureStyle {
  QSize sizeTwips;  // outer size, border included
  PictureBorder border = PictureBorder::FixedSingle;
  QColor background = Qt::white;
  QFont font;  // the box's font; FontSize changes only its point size
};

// A picture box's image: a DrawingSurface that draws into a QImage holding the
// whole box, border included. Needs a QGuiApplication (for fonts), no window.
// Twips map to logical pixels at 15 per pixel; the image is devicePixelRatio
// times larger so that drawing stays sharp on high-DPI screens.
class PictureSurface : public DrawingSurface {
 public:
  explicit PictureSurface(const PictureStyle& style, qreal devicePixelRatio = 1.0);
  ~PictureSurface() override;

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

  // The whole box as it is shown, border included.
  const QImage& image() const;
  QSize logicalSize() const;  // in pixels

  // Called whenever the image changes, so that whoever shows it can repaint.
  void onChanged(std::function<void()> notify);

 private:
  void notifyChanged() const;

  struct State;
  std::unique_ptr<State> m_state;
  std::function<void()> m_changed;
};

}  // namespace huecode
