#include "ui/window_look.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

#include "ui/interface_font.h"

namespace huecode {

void ApplyWindowLook(QWidget& window) {
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, kWindowGreen);
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  window.setFont(InterfaceFont());
}

void ConfigureLabel(QLabel& label, const QString& caption) {
  label.setTextFormat(Qt::PlainText);
  label.setWordWrap(false);
  label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label.setForegroundRole(QPalette::ButtonText);
  label.setText(caption);
  label.adjustSize();
}

}  // namespace huecode
