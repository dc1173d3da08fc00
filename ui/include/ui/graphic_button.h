#pragma once

#include <QPushButton>

namespace huecode {

// A command button in graphical style: the shared blue picture, centred and
// cut to the button, behind the caption. Never a default button, so Enter in
// a box presses nothing.
class GraphicButton : public QPushButton {
  Q_OBJECT

 public:
  GraphicButton(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace huecode
