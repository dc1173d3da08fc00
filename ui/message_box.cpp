#include "ui/message_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace huecode {
namespace {

class QtMessageBox : public MessageBox {
 public:
  void Show(QWidget* owner, const QString& prompt, const QString& title,
            MessageIcon icon) override {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    title, prompt, QMessageBox::NoButton, owner);
    box.addButton(QCoreApplication::translate("huecode::MessageBox", "确定"),
                  QMessageBox::AcceptRole);
    box.exec();
  }
};

}  // namespace

std::unique_ptr<MessageBox> MakeQtMessageBox() {
  return std::make_unique<QtMessageBox>();
}

}  // namespace huecode
