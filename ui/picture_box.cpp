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
}

void PictureBox::Scale(float x1, float y1, float x2, float y2) {
  m_surface.Scale(x1, y1, x2, y2);
}

void PictureBox::Cls() {
  m_surface.Cls();
  update();
}

void PictureBox::DrawWidth(int pixels) {
  m_surface.DrawWidth(pixels);
}

void PictureBox::Line(float x1, float y1, float x2, float y2, ColourValue colour) {
  m_surface.Line(x1, y1, x2, y2, colour);
  update();
}

void PictureBox::FontSize(float points) {
  m_surface.FontSize(points);
}

float PictureBox::FontSize() const {
  return m_surface.FontSize();
}

void PictureBox::ForeColor(ColourValue colour) {
  m_surface.ForeColor(colour);
}

void PictureBox::CurrentX(float x) {
  m_surface.CurrentX(x);
}

void PictureBox::CurrentY(float y) {
  m_surface.CurrentY(y);
}

void PictureBox::Print(std::u16string_view text) {
  m_surface.Print(text);
  update();
}

float PictureBox::ScaleHeight() const {
  return m_surface.ScaleHeight();
}

const QImage& PictureBox::image() const {
  return m_surface.image();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_surface.image());
}

}  // namespace huecode
