#include "render/picture_styles.h"

#include <QGuiApplication>
#include <QPalette>

namespace huecode {

PictureStyle Picture1Style() {
  PictureStyle style;
  style.sizeTwips = QSize(7575, 2175);
  style.border = PictureBorder::Sunken3D;
  // The box takes the colour of the active title bar's text. Qt has no
  // title-bar role; the text drawn on the highlight is its counterpart (white
  // in the usual light and dark palettes alike, as title text is), and it
  // keeps the preview on a light ground that every gradient colour shows on.
  style.background = QGuiApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
  style.font = QGuiApplication::font();
  return style;
}

PictureStyle Picture2Style() {
  PictureStyle style;
  style.sizeTwips = QSize(3255, 375);
  style.border = PictureBorder::FixedSingle;
  // The window background of the classic colour scheme is the ground of
  // editable content, which Qt calls Base.
  style.background = QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
  style.font = QGuiApplication::font();
  return style;
}

}  // namespace huecode
