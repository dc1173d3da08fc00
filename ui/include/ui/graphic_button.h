#pragma once

#include <QPushButton>

namespace huecode {

// A command button in graphical style: the shared blue picture, centred and
// cut to the button, behind the caption. Never a default button, so Enter in
// a box presses nothing; Enter and Space press the button that has the focus.
// Its access key first gives it the focus, then presses it, so the focus has
// left the previous control before the click handler runs.
class GraphicButton : public QPushButton {
  Q_OBJECT

 public:
  GraphicButton(const QString& caption, QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace huecode
