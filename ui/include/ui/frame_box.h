#pragma once

#include <QGroupBox>

namespace huecode {

// A frame in the classic look: an etched border whose top line the caption
// interrupts, and nothing painted inside, so the window's green runs through.
class FrameBox : public QGroupBox {
  Q_OBJECT

 public:
  FrameBox(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace huecode
