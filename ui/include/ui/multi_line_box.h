#pragma once

#include <QPlainTextEdit>

namespace huecode {

// A multi-line text box that keeps line ends as they came (see text_box.h):
// clipboard text and dropped text go in unchanged, a line break typed with
// Enter or Shift+Enter is CR LF, and a copied or dragged selection carries
// its line ends unchanged.
class MultiLineBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit MultiLineBox(QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace huecode
