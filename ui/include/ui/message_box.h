#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace huecode {

enum class MessageIcon { None, Critical };

// A modal message with a single OK button; Show returns once it is closed.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(QWidget* owner, const QString& prompt, const QString& title,
                    MessageIcon icon) = 0;
};

std::unique_ptr<MessageBox> MakeQtMessageBox();

}  // namespace huecode
