#pragma once

#include <QLabel>

namespace huecode {

// A label whose lines stand 180 twips apart, the pitch the About window is
// laid out for, whatever the line spacing of the default font and of the
// fallback fonts that draw its Chinese characters (often half as tall again).
// With the font's own spacing five lines would run into the next label.
class AboutLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int LinePitch() const;
};

}  // namespace huecode
