#include "render/picture_surface.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

namespace huecode {

namespace detail {
namespace {

constexpr double kTwipsPerPixel = 15.0;

int BorderRings(PictureBorder border) {
  return border == PictureBorder::Sunken3D ? 2 : 1;
}

// Only the three colour bytes count; the top byte is never set by a colour.
QColor ColourOf(ColourValue value) {
  const ColourTriple colour = SplitColour(value & 0xFFFFFF);
  return QColor(colour.r, colour.g, colour.b);
}

// One user coordinate as a device pixel index along one axis: the pixel whose
// leading edge is nearest, as integer device coordinates are always rounded.
// The user range from the first corner to the second is closed, so a point on
// the far corner belongs to the last pixel: a scale of (0)-(255) puts column
// 255 on the last pixel rather than one past it. Points outside the range stay
// outside and are clipped; those far away are held a little outside, so that
// no coordinate, however large, overflows the pixel index.
int PixelIndex(double user, double origin, double extent, int first, int count) {
  const double d = std::clamp((user - origin) * count / extent, -2.0 * count - 2, 2.0 * count + 2);
  if (std::isnan(d)) {
    return first - 1;
  }
  const int pixel = static_cast<int>(std::floor(d + 0.5));
  return first + (d >= 0.0 && d <= count ? std::min(pixel, count - 1) : pixel);
}

}  // namespace
}  // namespace detail

struct PictureSurface::State {
  PictureStyle style;
  qreal dpr = 1.0;
  QSize logical;
  QImage image;
  QRect inner;  // device pixels
  double scaleLeft = 0.0;
  double scaleTop = 0.0;
  double scaleWidth = 1.0;
  double scaleHeight = 1.0;
  int drawWidth = 1;
  QFont font;
  float reportedSize = 0.0f;
  qreal ascent = 0.0;  // logical pixels
  QColor foreColor = Qt::black;
  double currentX = 0.0;
  double currentY = 0.0;

  QPoint devicePoint(double x, double y) const {
    return {detail::PixelIndex(x, scaleLeft, scaleWidth, inner.left(), inner.width()),
            detail::PixelIndex(y, scaleTop, scaleHeight, inner.top(), inner.height())};
  }

  // Device-pixel rectangles go through a painter that works in logical
  // pixels, so they are handed over divided by the ratio.
  QRectF logicalRect(const QRect& device) const {
    return {device.x() / dpr, device.y() / dpr, device.width() / dpr, device.height() / dpr};
  }

  void paintBorder();
  void updateFont();
};

void PictureSurface::State::paintBorder() {
  const QPalette palette = QGuiApplication::palette();
  struct Ring {
    QColor topLeft;
    QColor bottomRight;
  };
  // Rings from the outside in. The flat line takes the text colour, as a
  // window frame does, so it stands out on light and dark palettes alike. The
  // sunken edge is the classic client edge: dark then shadow at the top left,
  // light then midlight at the bottom right.
  const QColor frame = palette.color(QPalette::WindowText);
  const std::vector<Ring> rings =
      style.border == PictureBorder::Sunken3D
          ? std::vector<Ring>{{palette.color(QPalette::Dark), palette.color(QPalette::Light)},
                              {palette.color(QPalette::Shadow), palette.color(QPalette::Midlight)}}
          : std::vector<Ring>{{frame, frame}};
  const int width = std::max(1, qRound(dpr));
  QPainter painter(&image);
  QRect outline = image.rect();
  for (const Ring& ring : rings) {
    // The top-left edges are painted last and so own the two far corners.
    painter.fillRect(
        logicalRect({outline.left(), outline.bottom() - width + 1, outline.width(), width}),
        ring.bottomRight);
    painter.fillRect(
        logicalRect({outline.right() - width + 1, outline.top(), width, outline.height()}),
        ring.bottomRight);
    painter.fillRect(logicalRect({outline.left(), outline.top(), outline.width(), width}),
                     ring.topLeft);
    painter.fillRect(logicalRect({outline.left(), outline.top(), width, outline.height()}),
                     ring.topLeft);
    outline.adjust(width, width, -width, -width);
  }
}

void PictureSurface::State::updateFont() {
  // The size reported back is the one the font database really realises
  // (10 points often come out as 13 pixels, that is 9.75 points), since the
  // preview lays out its grid from it.
  reportedSize = static_cast<float>(QFontInfo(font).pointSizeF());
  ascent = QFontMetricsF(font, &image).ascent();
}

PictureSurface::PictureSurface(const PictureStyle& style, qreal devicePixelRatio)
    : m_state(std::make_unique<State>()) {
  State& s = *m_state;
  s.style = style;
  s.dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  s.logical = QSize(qRound(style.sizeTwips.width() / detail::kTwipsPerPixel),
                    qRound(style.sizeTwips.height() / detail::kTwipsPerPixel))
                  .expandedTo(QSize(1, 1));
  s.image = QImage(s.logical * s.dpr, QImage::Format_RGB32);
  s.image.setDevicePixelRatio(s.dpr);

  const int border = detail::BorderRings(style.border) * std::max(1, qRound(s.dpr));
  s.inner = s.image.rect().adjusted(border, border, -border, -border);
  if (s.inner.isEmpty()) {
    s.inner = s.image.rect();
  }
  // The default scale is twips of logical pixels over the inner area.
  const int borderLogical = detail::BorderRings(style.border);
  s.scaleWidth = std::max(1, s.logical.width() - 2 * borderLogical) * detail::kTwipsPerPixel;
  s.scaleHeight = std::max(1, s.logical.height() - 2 * borderLogical) * detail::kTwipsPerPixel;

  s.font = style.font;
  s.updateFont();
  s.image.fill(style.background);
  s.paintBorder();
}

PictureSurface::~PictureSurface() = default;

void PictureSurface::Scale(float x1, float y1, float x2, float y2) {
  // A scale without extent would map everything onto one line; it is ignored.
  if (x1 == x2 || y1 == y2) {
    return;
  }
  State& s = *m_state;
  s.scaleLeft = x1;
  s.scaleTop = y1;
  s.scaleWidth = static_cast<double>(x2) - x1;
  s.scaleHeight = static_cast<double>(y2) - y1;
  s.currentX = x1;
  s.currentY = y1;
}

void PictureSurface::Cls() {
  State& s = *m_state;
  notifyChanged();
  QPainter painter(&s.image);
  painter.fillRect(s.logicalRect(s.inner), s.style.background);
  s.currentX = s.scaleLeft;
  s.currentY = s.scaleTop;
}

void PictureSurface::DrawWidth(int pixels) {
  m_state->drawWidth = std::max(1, pixels);
}

void PictureSurface::Line(float x1, float y1, float x2, float y2, ColourValue colour) {
  State& s = *m_state;
  notifyChanged();
  const QPoint from = s.devicePoint(x1, y1);
  const QPoint to = s.devicePoint(x2, y2);
  const int width = std::max(1, qRound(s.drawWidth * s.dpr));
  const QColor qcolour = detail::ColourOf(colour);

  QPainter painter(&s.image);
  painter.setClipRect(s.logicalRect(s.inner));
  if (from.x() == to.x() || from.y() == to.y()) {
    // Straight lines, the gradient bar's columns among them, are filled as
    // whole device pixels, both end points included, so they stay crisp.
    const int before = (width - 1) / 2;
    const int after = width - 1 - before;
    QRect pixels = QRect(from, to).normalized();
    if (from.x() == to.x()) {
      pixels.adjust(-before, 0, after, 0);
    }
    if (from.y() == to.y()) {
      pixels.adjust(0, -before, 0, after);
    }
    painter.fillRect(s.logicalRect(pixels), qcolour);
    return;
  }
  QPen pen(qcolour, width / s.dpr);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  const auto centre = [&](QPoint p) {
    return QPointF((p.x() + 0.5) / s.dpr, (p.y() + 0.5) / s.dpr);
  };
  painter.drawLine(centre(from), centre(to));
}

void PictureSurface::FontSize(float points) {
  State& s = *m_state;
  if (!(points > 0.0f)) {
    return;
  }
  s.font.setPointSizeF(points);
  s.updateFont();
}

float PictureSurface::FontSize() const {
  return m_state->reportedSize;
}

void PictureSurface::ForeColor(ColourValue colour) {
  m_state->foreColor = detail::ColourOf(colour);
}

void PictureSurface::CurrentX(float x) {
  m_state->currentX = x;
}

void PictureSurface::CurrentY(float y) {
  m_state->currentY = y;
}

void PictureSurface::Print(std::u16string_view text) {
  State& s = *m_state;
  if (text.empty()) {
    return;
  }
  notifyChanged();
  const QPoint at = s.devicePoint(s.currentX, s.currentY);
  QPainter painter(&s.image);
  painter.setClipRect(s.logicalRect(s.inner));
  painter.setFont(s.font);
  painter.setPen(s.foreColor);
  // The single-line drawText never breaks lines, so tabs and line breaks in
  // the text stay on the current line. The print position is left where it
  // was: nothing reads it after a Print.
  painter.drawText(QPointF(at.x() / s.dpr, at.y() / s.dpr + s.ascent),
                   QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

void PictureSurface::onChanged(std::function<void()> notify) {
  m_changed = std::move(notify);
}

void PictureSurface::notifyChanged() const {
  if (m_changed) {
    m_changed();
  }
}

float PictureSurface::ScaleHeight() const {
  return static_cast<float>(m_state->scaleHeight);
}

const QImage& PictureSurface::image() const {
  return m_state->image;
}

QSize PictureSurface::logicalSize() const {
  return m_state->logical;
}

}  // namespace huecode
