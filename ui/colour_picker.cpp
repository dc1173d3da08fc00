#include "ui/colour_picker.h"

#include <QColorDialog>
#include <QCoreApplication>

namespace huecode {
namespace {

class ColourDialogPicker : public ColourPicker {
 public:
  std::optional<ColourValue> Pick(QWidget* owner) override {
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
      QColorDialog::setCustomColor(i, Qt::black);
    }
    QColorDialog dialog(Qt::black, owner);
    // Native dialogs keep their own state and hang where no desktop answers them.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setWindowTitle(QCoreApplication::translate("huecode::ColourPicker", "颜色"));
    if (dialog.exec() != QDialog::Accepted) {
      return std::nullopt;
    }
    const QColor colour = dialog.selectedColor();
    return ComposeColour({static_cast<std::int16_t>(colour.red()),
                          static_cast<std::int16_t>(colour.green()),
                          static_cast<std::int16_t>(colour.blue())});
  }
};

}  // namespace

std::unique_ptr<ColourPicker> MakeColourDialogPicker() {
  return std::make_unique<ColourDialogPicker>();
}

}  // namespace huecode
