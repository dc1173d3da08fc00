#pragma once

#include <QDialog>
#include <array>

class QLabel;

namespace huecode {

class GraphicButton;

// The About window: the program's title and notices in three labels, closed by
// its OK button. Built and loaded afresh for every showing.
class Form2 : public QDialog {
  Q_OBJECT

 public:
  explicit Form2(QWidget* owner);

  std::array<QLabel*, 3> Label1{};
  GraphicButton* Command1 = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void Form_Load();
  void Command1_Click();
};

}  // namespace huecode
