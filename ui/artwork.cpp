#include "ui/artwork.h"

#include <QPixmap>
#ifndef HUECODE_PICTURES_DRAWN
#include <QPainter>
#include <QSvgRenderer>
#endif

namespace huecode {
namespace {

#ifdef HUECODE_PICTURES_DRAWN
// Drawn at build time at one and two device pixels per pixel; other ratios
// scale the sharper of the two.
QImage RenderPicture(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
  const QString zoom = devicePixelRatio > 1 ? QStringLiteral("@2x") : QStringLiteral("@1x");
  QImage image = QImage(QStringLiteral(":/huecode/%1%2.png").arg(name, zoom))
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QSize size = logicalSize * devicePixelRatio;
  if (image.size() != size) {
    image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  image.setDevicePixelRatio(devicePixelRatio);
  return image;
}
#else
QImage RenderPicture(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
  QImage image(logicalSize * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(QStringLiteral(":/huecode/%1.svg").arg(name));
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  image.setDevicePixelRatio(devicePixelRatio);
  return image;
}
#endif

}  // namespace

QImage ButtonPicture(qreal devicePixelRatio) {
  // Every button repaints with it, so the last rendering is kept.
  static QImage cached;
  if (cached.isNull() || cached.devicePixelRatio() != devicePixelRatio) {
    cached = RenderPicture(QStringLiteral("button"), QSize(185, 42), devicePixelRatio);
  }
  return cached;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(QPixmap::fromImage(RenderPicture(QStringLiteral("icon"), QSize(32, 32), ratio)));
  }
  return icon;
}

}  // namespace huecode
