#include "ui/artwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace huecode {
namespace {

QImage RenderSvg(const QString& resource, QSize logicalSize, qreal devicePixelRatio) {
  QImage image(logicalSize * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(resource);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  image.setDevicePixelRatio(devicePixelRatio);
  return image;
}

}  // namespace

QImage ButtonPicture(qreal devicePixelRatio) {
  // Every button repaints with it, so the last rendering is kept.
  static QImage cached;
  if (cached.isNull() || cached.devicePixelRatio() != devicePixelRatio) {
    cached = RenderSvg(QStringLiteral(":/huecode/button.svg"), QSize(185, 42), devicePixelRatio);
  }
  return cached;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(
        QPixmap::fromImage(RenderSvg(QStringLiteral(":/huecode/icon.svg"), QSize(32, 32), ratio)));
  }
  return icon;
}

}  // namespace huecode
