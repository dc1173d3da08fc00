#include "ui/about_label.h"

#include <QFontInfo>
#include <QPainter>
#include <algorithm>

#include "ui/form_layout.h"

namespace huecode {
namespace {

constexpr int kLineTwips = 180;

}  // namespace

int AboutLabel::LinePitch() const {
  return std::max(TwipsToPixels(kLineTwips), QFontInfo(font()).pixelSize());
}

QSize AboutLabel::sizeHint() const {
  const QStringList lines = text().split(QLatin1Char('\n'));
  int width = 0;
  for (const QString& line : lines) {
    width = std::max(width, fontMetrics().horizontalAdvance(line));
  }
  return {width, static_cast<int>(lines.size() - 1) * LinePitch() + fontMetrics().height()};
}

void AboutLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  const int pitch = LinePitch();
  const int em = QFontInfo(font()).pixelSize();
  // The em box of each line is centred in its pitch; the baseline sits an
  // eighth of an em above the box's bottom, where ideographs end.
  const int baseline = pitch - (pitch - em) / 2 - em / 8;
  const QStringList lines = text().split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    painter.drawText(QPoint(0, static_cast<int>(i) * pitch + baseline), lines[i]);
  }
}

}  // namespace huecode
